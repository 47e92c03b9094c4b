#pragma once
// The calendar as a screen reader tells it, in the language of the text
// table and as that language writes dates: a month as "August 2024", a day as
// its date followed by the events it has, "Saturday, 31 August 2024:
// Shutdown 08:00, StartUp 07:00" ("Samstag, 31. August 2024: ...").
#include <string>

#include "i18n/TINI_LANGUAGE.h"
#include "schedule/TADateTime.h"
#include "schedule/TSchedule.h"
#include "settings/TINI.h"

// month 1 to 12.
std::string DescribeMonth(const TINI_LANGUAGE& texts, int month, int year);

// The events are those the calendar marks: a dated event of a kind, else the
// kind's weekly rule, in the order shutdown, start-up, UPS test. The date
// must exist.
std::string DescribeDay(const TINI_LANGUAGE& texts, const TSchedule& store, const TINI& ini,
                        TADateTime& dates, int day, int month, int year);
