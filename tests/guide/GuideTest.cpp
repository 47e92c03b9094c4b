// The guide as shipped in Help/: every link and picture of every language
// resolves, every language has the English guide's pages and sections, a
// caption the guide quotes is the one the program shows in that language, and
// the prose keeps to its language's typography.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "settings/SettingsRules.h"

namespace {

namespace fs = std::filesystem;

const fs::path kHelp = OMBREL_HELP_DIR;
const fs::path kLanguages = OMBREL_LANGUAGES_DIR;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> GuideLanguages() {
  std::vector<std::string> languages;
  for (const auto& entry : fs::directory_iterator(kHelp))
    if (entry.is_directory()) languages.push_back(entry.path().filename().string());
  std::sort(languages.begin(), languages.end());
  return languages;
}

std::vector<std::string> Pages(const std::string& language) {
  std::vector<std::string> pages;
  for (const auto& entry : fs::directory_iterator(kHelp / language))
    if (entry.path().extension() == ".html") pages.push_back(entry.path().filename().string());
  std::sort(pages.begin(), pages.end());
  return pages;
}

// Every match of a pattern's first group in a text.
std::vector<std::string> All(const std::string& text, const std::regex& pattern) {
  std::vector<std::string> found;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
    found.push_back((*it)[1].str());
  return found;
}

// The ids of the headings, in order: the page's sections.
std::vector<std::string> Sections(const std::string& page) {
  static const std::regex heading(R"re(<h[1-6][^>]*\bid="([^"]+)")re");
  return All(page, heading);
}

std::set<std::string> Ids(const std::string& page) {
  static const std::regex id(R"re(\bid="([^"]+)")re");
  std::vector<std::string> ids = All(page, id);
  return {ids.begin(), ids.end()};
}

// Windows-1252 text, as the shipped language files are written, in UTF-8.
std::string Utf8OfCp1252(const std::string& text) {
  static const char16_t kHigh[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                     0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
  std::string out;
  for (unsigned char c : text) {
    char32_t code = c >= 0x80 && c < 0xA0 ? kHigh[c - 0x80] : c;
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = text[i];
    const size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
    i += length;
  }
  return true;
}

std::string Trim(const std::string& text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The texts of a language file by "SECTION/KEY", as the program reads them:
// trimmed, one outer pair of quotes dropped, the first of duplicates kept.
std::map<std::string, std::string> Captions(const std::string& language) {
  std::string bytes = Read(kLanguages / language / "setup.ini");
  if (!IsUtf8(bytes)) bytes = Utf8OfCp1252(bytes);
  std::map<std::string, std::string> captions;
  std::string section;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = Trim(bytes.substr(start, end - start));
    start = end + 1;
    if (line.size() > 1 && line.front() == '[' && line.find(']') != std::string::npos) {
      section = Trim(line.substr(1, line.rfind(']') - 1));
    } else if (const size_t equals = line.find('='); equals != std::string::npos) {
      std::string value = Trim(line.substr(equals + 1));
      if (value.size() >= 2 && value.front() == value.back() && (value.front() == '"' || value.front() == '\''))
        value = value.substr(1, value.size() - 2);
      captions.emplace(section + "/" + Trim(line.substr(0, equals)), Trim(value));
    }
  }
  return captions;
}

// The text of an element as a reader sees it: the character references the
// guide uses turned back into characters.
std::string Unescape(std::string text) {
  for (const auto& [entity, character] : std::vector<std::pair<std::string, std::string>>{
           {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&#x27;", "'"}, {"&amp;", "&"}}) {
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + character.size()))
      text.replace(at, entity.size(), character);
  }
  return text;
}

TEST(Guide, ShipsTheFourLanguagesWithTheEnglishPages) {
  ASSERT_TRUE(fs::is_directory(kHelp)) << kHelp;
  const std::vector<std::string> languages = GuideLanguages();
  for (const char* language : {"Deutsch", "English", "Espanol", "Francais"})
    EXPECT_NE(std::find(languages.begin(), languages.end(), language), languages.end()) << language;
  const std::vector<std::string> english = Pages("English");
  for (const char* page : {"index.html", "configuration.html", "schedule.html", "others.html", "overview.html",
                           "tasks.html", "troubleshooting.html", "deploying.html"})
    EXPECT_NE(std::find(english.begin(), english.end(), page), english.end()) << page;
  for (const std::string& language : languages) EXPECT_EQ(Pages(language), english) << language;
}

TEST(Guide, EveryLanguageHasTheSectionsOfTheEnglishGuideInItsOrder) {
  for (const std::string& language : GuideLanguages()) {
    for (const std::string& page : Pages("English")) {
      SCOPED_TRACE(language + "/" + page);
      const std::vector<std::string> sections = Sections(Read(kHelp / "English" / page));
      EXPECT_FALSE(sections.empty());
      EXPECT_EQ(Sections(Read(kHelp / language / page)), sections);
    }
  }
}

TEST(Guide, EveryLinkAndPictureResolvesAndEveryPictureIsDescribed) {
  static const std::regex reference(R"re(\b(?:href|src)="([^"]*)")re");
  static const std::regex image(R"re(<img\b[^>]*>)re");
  static const std::regex alt(R"re(\balt="([^"]+)")re");
  int checked = 0;
  std::map<fs::path, std::set<std::string>> idsOf;  // of each page a link leads into
  for (const std::string& language : GuideLanguages()) {
    for (const std::string& page : Pages(language)) {
      const fs::path path = kHelp / language / page;
      const std::string text = Read(path);
      SCOPED_TRACE(language + "/" + page);
      for (const std::string& target : All(text, reference)) {
        SCOPED_TRACE(target);
        // The guide works offline: nothing is fetched from elsewhere.
        EXPECT_EQ(target.find(':'), std::string::npos);
        const size_t hash = target.find('#');
        const std::string file = target.substr(0, hash);
        const fs::path resolved = file.empty() ? path : path.parent_path() / file;
        ASSERT_TRUE(fs::is_regular_file(resolved));
        ++checked;
        if (hash == std::string::npos) continue;
        if (!idsOf.contains(resolved)) idsOf[resolved] = Ids(Read(resolved));
        EXPECT_TRUE(idsOf[resolved].contains(target.substr(hash + 1)));
      }
      for (std::sregex_iterator it(text.begin(), text.end(), image), end; it != end; ++it)
        EXPECT_TRUE(std::regex_search(it->str(), alt)) << it->str();
      EXPECT_NE(text.find("<html lang=\""), std::string::npos);
    }
  }
  EXPECT_GT(checked, 100);
}

TEST(Guide, QuotedCaptionsAreTheProgramsCaptionsInThatLanguage) {
  static const std::regex quoted(R"re(<span class="ui" data-key="([A-Z_0-9]+/[A-Z_0-9]+)">([^<]*)</span>)re");
  for (const std::string& language : GuideLanguages()) {
    if (!fs::exists(kLanguages / language / "setup.ini")) continue;
    const std::map<std::string, std::string> captions = Captions(language);
    int quotes = 0;
    for (const std::string& page : Pages(language)) {
      const std::string text = Read(kHelp / language / page);
      for (std::sregex_iterator it(text.begin(), text.end(), quoted), end; it != end; ++it, ++quotes) {
        const std::string key = (*it)[1].str();
        SCOPED_TRACE(language + "/" + page + " " + key);
        ASSERT_TRUE(captions.contains(key));
        EXPECT_EQ(Unescape((*it)[2].str()), captions.at(key));
      }
      // No quoted caption escapes the check by a different spelling.
      static const std::regex marked(R"re((class="ui"))re");
      static const std::regex keyed(R"re((class="ui" data-key="[A-Z_0-9]+/[A-Z_0-9]+">[^<]*</span>))re");
      EXPECT_EQ(All(text, marked).size(), All(text, keyed).size());
    }
    EXPECT_GT(quotes, 100) << language;
  }
}

// The prose of a page as a reader sees it: without its tags, its code and the
// captions it quotes (those are the language file's).
std::string Prose(const std::string& page) {
  static const std::regex quotedOrCode(R"re(<span class="ui"[^>]*>[^<]*</span>|<code>[^<]*</code>|<pre>[\s\S]*?</pre>)re");
  static const std::regex tag(R"re(<[^>]*>)re");
  return Unescape(std::regex_replace(std::regex_replace(page, quotedOrCode, " "), tag, ""));
}

TEST(Guide, EachPageIsTitledAsTheContentsLinkThatNamesIt) {
  static const std::regex contentsLink(R"re(<a href="([a-z]+\.html)">([\s\S]*?)</a>)re");
  static const std::regex title(R"re(<title>([^<]*)</title>)re");
  static const std::regex heading(R"re(<h1>([\s\S]*?)</h1>)re");
  for (const std::string& language : GuideLanguages()) {
    const std::string index = Read(kHelp / language / "index.html");
    const std::string indexTitle = All(index, title).at(0);
    EXPECT_EQ(All(index, heading), std::vector<std::string>{indexTitle}) << language;
    int linked = 0;
    for (std::sregex_iterator it(index.begin(), index.end(), contentsLink), end; it != end; ++it, ++linked) {
      const std::string name = Prose((*it)[2].str());
      const std::string page = Read(kHelp / language / (*it)[1].str());
      SCOPED_TRACE(language + "/" + (*it)[1].str());
      EXPECT_EQ(All(page, title), std::vector<std::string>{name + " - " + indexTitle});
      ASSERT_EQ(All(page, heading).size(), 1u);
      EXPECT_EQ(Prose(All(page, heading)[0]), name);
    }
    EXPECT_EQ(linked, static_cast<int>(Pages(language).size()) - 1) << language;
  }
}

// The page's sentence on a cable list with neither row ticked names the cable
// the rule stores.
TEST(Guide, TheCableSentenceNamesTheCableOkStores) {
  const std::map<int32_t, std::string> captionOf = {{settings_rules::kTarvexiCable, "SETUP_PAGE_1/CABLE_KR404D"},
                                                    {settings_rules::kOmbrelAdaptor, "SETUP_PAGE_1/OMBREL_ADAPTOR"}};
  static const std::regex sentence(R"re(<span id="cable-neither">((?:[^<]|<span[^>]*>[^<]*</span>)*)</span>)re");
  static const std::regex caption(R"re(data-key="(SETUP_PAGE_1/(?:CABLE_KR404D|OMBREL_ADAPTOR))")re");
  for (const std::string& language : GuideLanguages()) {
    const std::vector<std::string> found = All(Read(kHelp / language / "configuration.html"), sentence);
    ASSERT_EQ(found.size(), 1u) << language;
    EXPECT_EQ(All(found[0], caption), std::vector<std::string>{captionOf.at(settings_rules::StoredCable(false, false))})
        << language;
  }
}

TEST(Guide, ProseQuotesButtonsAsCaptionsAndKeepsItsLanguagesTypography) {
  // The buttons the prose tells the reader to press ("Close" is also the verb).
  const char* buttons[] = {"COMMON_SETUP/OK",    "COMMON_SETUP/CANCEL", "SETUP_PAGE_1/AUTO_DETECT_UPS",
                           "SETUP_PAGE_2/APPLY", "SETUP_PAGE_2/CLEAR",  "SETUP_PAGE_2/RESET",
                           "SETUP_PAGE_2/VIEW_ALL"};
  // Any byte of a UTF-8 sequence counts as a letter: "Löschen" is not "schen".
  const std::string letter = "A-Za-z0-9\x80-\xff";
  for (const std::string& language : GuideLanguages()) {
    if (!fs::exists(kLanguages / language / "setup.ini")) continue;
    const std::map<std::string, std::string> captions = Captions(language);
    std::vector<std::string> names = {"OK"};  // the English word, whatever the button reads
    for (const char* key : buttons) names.push_back(captions.at(key));
    for (const std::string& page : Pages(language)) {
      SCOPED_TRACE(language + "/" + page);
      const std::string prose = Prose(Read(kHelp / language / page));
      for (const std::string& name : names) {
        const std::regex bare("(^|[^" + letter + "])" + name + "($|[^" + letter + "])");
        std::smatch found;
        if (std::regex_search(prose, found, bare))
          ADD_FAILURE() << "\"" << name << "\" unquoted: " << found.prefix().str().substr(found.position() - std::min<size_t>(found.position(), 60)) << found.str();
      }
      // A program message stands in the language's quotation marks, so that
      // its own punctuation does not run into the sentence.
      static const std::map<std::string, std::pair<std::string, std::string>> quotes = {
          {"Deutsch", {"\u201e", "\u201c"}},
          {"English", {"\"", "\""}},
          {"Espanol", {"\u00ab", "\u00bb"}},
          {"Francais", {"\u00ab\u00a0", "\u00a0\u00bb"}}};
      static const std::regex message(R"re((.{0,8})<span class="ui" data-key="MESSAGE/[^"]+">[^<]*</span>(.{0,8}))re");
      const std::string text = Read(kHelp / language / page);
      const auto& [open, close] = quotes.at(language);
      for (std::sregex_iterator it(text.begin(), text.end(), message), end; it != end; ++it) {
        const std::string before = (*it)[1].str(), after = (*it)[2].str();
        EXPECT_TRUE(before.ends_with(open) && after.starts_with(close)) << "unquoted: " << it->str();
      }
      if (language == "Francais") {
        // A sign after a breakable space could start a line alone.
        static const std::regex spaced("[ \t\r\n](:|;|!|\\?|\u00bb)|\u00ab[ \t\r\n]");
        std::smatch found;
        if (std::regex_search(prose, found, spaced))
          ADD_FAILURE() << "breakable space: " << found.prefix().str().substr(found.position() - std::min<size_t>(found.position(), 60)) << found.str();
      }
      if (language == "Deutsch") {
        // Each „ is closed by “, and no quotation by a straight quote.
        static const std::regex quotation("\u201e[\\s\\S]*?(\u201c|\u201d|\"|$)");
        for (const std::string& close : All(prose, quotation)) EXPECT_EQ(close, "\u201c");
        EXPECT_EQ(prose.find('"'), std::string::npos);
      }
    }
  }
}
}  // namespace
