// The interface language as the settings file keeps it: "[Interface]" "Language=ja|en|system".
#pragma once

#include <string>

#include "core/language.h"

namespace tavik {

// The value of Language in `iniPath`: "system" when the file, the section or the key is
// absent, or the file cannot be read (a start never fails for its language).
std::string ReadLanguageSetting(const std::string& iniPath);

// Writes Language=`value` ("ja", "en" or "system") into `iniPath`, keeping everything else
// the file holds; creates the file and its folder when they are not there. Throws
// std::runtime_error naming the file when it cannot be written.
void WriteLanguageSetting(const std::string& iniPath, const std::string& value);

// The language of this process: its locale and the setting in `iniPath` (ChooseLanguage).
Language ChooseProcessLanguage(const std::string& iniPath);

}  // namespace tavik
