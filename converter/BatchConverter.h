// The batch driver: directory, list and single-file modes, one engine
// document per layout of each input, output naming, console report and log.
#pragma once

#include "CCommandLineInfoExt.h"
#include "ConversionLog.h"
#include "ConverterSettings.h"
#include "EngineApi.h"
#include "EngineReasons.h"
#include "OutputNaming.h"

#include <ostream>
#include <string>

class BatchConverter {
public:
    BatchConverter(const EngineApi& engine, const ConverterSettings& settings,
                   const ConversionLog& log, std::ostream& out,
                   OutputNaming::FileExists exists = OutputNaming::PathExists);

    // Runs every mode the command line asked for (directory, list, single
    // file, in that order), or prints the help when it asked for none.
    void Run(const CCommandLineInfoExt& commandLine);

    // One line per failed input goes here ("korvexcmd: " and the reason),
    // and one per limit the engine met in a drawing it wrote; without a
    // stream the failures are only counted.
    void SetErrorStream(std::ostream& err) { err_ = &err; }
    // Inputs missing, unreadable or not converted, and outputs not written.
    int failures() const { return failures_; }

    void ConvertDirectory(const std::string& directory);
    void ConvertList(const std::string& listFile);
    void ConvertSingleFile(const std::string& fileName);
    // Reads the input once per layout, each time into a fresh document.
    void ConvertFile(const std::string& input);

private:
    void PrintSettingsSummary();
    void ConvertMatches(const std::string& directory, const char* extension);
    // Converts one layout into a new document; returns the document's
    // layout count when all pages are wanted, else 0.
    int ConvertLayout(const std::string& input, int layout);
    void WriteOutput(KXDOC doc, const std::string& input, int page, const EngineReasons& reasons);
    void Fail(const std::string& reason);
    // What the engine left out of a drawing it wrote (a limit it met).
    void Warn(const std::string& input, const EngineReasons& reasons);

    const EngineApi& engine_;
    const ConverterSettings& settings_;
    const ConversionLog& log_;
    std::ostream& out_;
    OutputNaming::FileExists exists_;
    std::ostream* err_ = nullptr;
    int failures_ = 0;
};
