#pragma once

#include <string>

#include "ui/StringTable.h"

namespace CLI {
class App;
}

namespace varnow::cli {

// Puts the help of `app` and every command under it into `language`: the descriptions, the
// headings CLI11 prints, and the footer that points commands to the exit-status table.
void LocalizeHelp(CLI::App& app, Language language);

// The language of the command line when no --lang is given: the locale's (LC_ALL, LC_MESSAGES,
// LANG, as the system sets it), Korean when it names Korean.
Language LanguageOfLocale(const std::string& locale);

// The language asked for on the command line (--lang ko, --lang=ko), read before the help is
// made; nullopt when none is given.
std::optional<Language> LanguageOnCommandLine(int argc, const char* const* argv);

}  // namespace varnow::cli
