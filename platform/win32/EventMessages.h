#pragma once
// The one message of the program's message table (OmbrelSetup.rc): "%1", the
// entry's own text, so that Event Viewer shows each entry as it was written.
#define OMBREL_EVENT_TEXT 1
