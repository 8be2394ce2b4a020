// The converter's settings: korvex.ini beside the program, read when it
// exists and created with every key when it does not.
#pragma once

#include <string>

class ConverterSettings {
public:
    static constexpr const char* kFileName = "korvex.ini";
    static constexpr const char* kDefaultDestinationName = "cnvrt";

    // Defaults for a program in programDirectory (ending in a separator).
    explicit ConverterSettings(const std::string& programDirectory);
    // Settings in settingsDirectory; the default destination is
    // destinationParent + "cnvrt" (a relative parent means the directory
    // current when the program runs).
    ConverterSettings(const std::string& settingsDirectory, std::string destinationParent);

    bool FileExists() const;
    // Reads every key; missing or unreadable keys keep their values.
    void Load();
    // Writes every key in table order, creating the file.
    bool Save() const;
    // Uses programDirectory + "cnvrt" when no destination was configured,
    // and makes sure the destination exists (one level; failure is silent
    // and shows later as failed writes).
    void PrepareDestination();

    const std::string& settingsPath() const { return settingsPath_; }
    const std::string& destinationDirectory() const { return conversionDirectory; }
    bool allPages() const { return cnvBatchAllPages; }
    bool uniqueNames() const { return cnvBatchUniqueName; }

    // Values of the settings file, in its order.
    bool monochrome = false;
    int bkColor = 0;
    int fgColor = 0xFFFFFF;
    bool lineStyle = true;
    bool lineWeight = false;
    bool text = true;
    bool fgColorDefaultBlack = false;
    int iniTool = 2;
    std::string conversionDirectory;
    bool cnvCurrentAllPages = false;
    bool cnvCurrentUniqueName = false;
    bool cnvBatchAllPages = true;
    bool cnvBatchUniqueName = true;
    int winX = 0;
    int winY = 0;
    int winSizeX = 0;
    int winSizeY = 0;

private:
    std::string programDirectory_;
    std::string settingsPath_;
};
