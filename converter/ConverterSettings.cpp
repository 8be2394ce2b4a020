#include "ConverterSettings.h"

#include <kxplatform/fileapi.h>
#include <kxplatform/profileapi.h>

#include <array>
#include <cctype>
#include <climits>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace {

// Long enough for any path the platform accepts: a destination is kept
// whole rather than cut into the name of some other directory.
constexpr DWORD kValueBufferSize = PATH_MAX + 1;

using Member = std::variant<bool ConverterSettings::*, int ConverterSettings::*,
                            std::string ConverterSettings::*>;

struct SettingKey {
    const char* section;
    const char* key;
    Member member;
};

// The file's keys in the order they are written.
const std::array<SettingKey, 17> kSettingKeys{{
    {"DISPLAY", "Monochrome", &ConverterSettings::monochrome},
    {"DISPLAY", "bkColor", &ConverterSettings::bkColor},
    {"DISPLAY", "fgColor", &ConverterSettings::fgColor},
    {"DISPLAY", "LineStyle", &ConverterSettings::lineStyle},
    {"DISPLAY", "LineWeight", &ConverterSettings::lineWeight},
    {"DISPLAY", "Text", &ConverterSettings::text},
    {"DISPLAY", "FgColorDefaultBlack", &ConverterSettings::fgColorDefaultBlack},
    {"DISPLAY", "iniTool", &ConverterSettings::iniTool},
    {"CONVERSION", "ConversionDirectory", &ConverterSettings::conversionDirectory},
    {"CONVERSION", "CnvCurrentAllPages", &ConverterSettings::cnvCurrentAllPages},
    {"CONVERSION", "CnvCurrentUniqueName", &ConverterSettings::cnvCurrentUniqueName},
    {"CONVERSION", "CnvBatchAllPages", &ConverterSettings::cnvBatchAllPages},
    {"CONVERSION", "CnvBatchUniqueName", &ConverterSettings::cnvBatchUniqueName},
    {"APPLICATION", "WinX", &ConverterSettings::winX},
    {"APPLICATION", "WinY", &ConverterSettings::winY},
    {"APPLICATION", "WinSizeX", &ConverterSettings::winSizeX},
    {"APPLICATION", "WinSizeY", &ConverterSettings::winSizeY},
}};

std::string ReadString(const SettingKey& setting, const std::string& file) {
    std::vector<char> buffer(kValueBufferSize);
    GetPrivateProfileStringA(setting.section, setting.key, "", buffer.data(), kValueBufferSize,
                             file.c_str());
    return buffer.data();
}

// A value that does not begin like a number is unreadable: the setting
// keeps its value instead of silently becoming 0 (which would, for one,
// switch unique names off and let outputs be overwritten).
bool LooksNumeric(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

std::optional<int> ReadInteger(const SettingKey& setting, const std::string& file) {
    if (!LooksNumeric(ReadString(setting, file))) return std::nullopt;
    return static_cast<int>(GetPrivateProfileIntA(setting.section, setting.key, 0, file.c_str()));
}

std::string WithFinalSeparator(std::string path) {
    if (!path.empty() && path.back() != KX_PATH_SEPARATOR) path += KX_PATH_SEPARATOR;
    return path;
}

}  // namespace

ConverterSettings::ConverterSettings(const std::string& programDirectory)
    : programDirectory_(WithFinalSeparator(programDirectory)),
      settingsPath_(programDirectory_ + kFileName) {}

ConverterSettings::ConverterSettings(const std::string& settingsDirectory,
                                     std::string destinationParent)
    : programDirectory_(std::move(destinationParent)),
      settingsPath_(WithFinalSeparator(settingsDirectory) + kFileName) {}

bool ConverterSettings::FileExists() const {
    return GetFileAttributesA(settingsPath_.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ConverterSettings::Load() {
    for (const auto& setting : kSettingKeys) {
        if (const auto flag = std::get_if<bool ConverterSettings::*>(&setting.member)) {
            if (const auto value = ReadInteger(setting, settingsPath_)) this->**flag = *value != 0;
        } else if (const auto number = std::get_if<int ConverterSettings::*>(&setting.member)) {
            if (const auto value = ReadInteger(setting, settingsPath_)) this->**number = *value;
        } else {
            const auto field = std::get<std::string ConverterSettings::*>(setting.member);
            std::string value = ReadString(setting, settingsPath_);
            if (!value.empty()) this->*field = value;
        }
    }
}

bool ConverterSettings::Save() const {
    bool saved = true;
    for (const auto& setting : kSettingKeys) {
        std::string value;
        if (const auto flag = std::get_if<bool ConverterSettings::*>(&setting.member)) {
            value = this->**flag ? "1" : "0";
        } else if (const auto number = std::get_if<int ConverterSettings::*>(&setting.member)) {
            value = std::to_string(this->**number);
        } else {
            value = this->*std::get<std::string ConverterSettings::*>(setting.member);
        }
        saved = WritePrivateProfileStringA(setting.section, setting.key, value.c_str(),
                                           settingsPath_.c_str()) &&
                saved;
    }
    return saved;
}

void ConverterSettings::PrepareDestination() {
    if (conversionDirectory.empty()) {
        conversionDirectory = programDirectory_ + kDefaultDestinationName + KX_PATH_SEPARATOR_STR;
    }
    // Asked of the file system rather than by changing into the directory:
    // the working directory, against which relative inputs are read, stays
    // as it is even when it could not be told or returned to.
    const DWORD attributes = GetFileAttributesA(conversionDirectory.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
    CreateDirectoryA(conversionDirectory.c_str(), nullptr);
}
