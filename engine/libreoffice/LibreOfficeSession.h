#pragma once
// The converter session LibreOffice provides: a private headless office process
// driven over UNO. This header shows no UNO; only its .cpp does.

#include "engine/Converter.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace pelmora {

/// How the LibreOffice converter is started and watched.
struct LibreOfficeSettings {
    /// LibreOffice's program folder (soffice.bin, fundamentalrc); empty: the one the
    /// program was built against.
    std::string programFolder;
    /// How long one document may take from Open to Close before the office
    /// is killed and the call fails.
    std::chrono::milliseconds documentTimeLimit = std::chrono::minutes(5);
    /// How long starting the office and connecting to it may take.
    std::chrono::milliseconds startTimeLimit = std::chrono::seconds(60);
    /// The bwrap program each office runs under; empty: no sandbox.
    std::string bwrap;
    /// The most memory (bytes) an office may hold while it converts; 0: no limit.
    std::uint64_t memoryCeiling = 0;
};

/// The program folder settings name, or the one the program was built against.
std::string OfficeProgramFolder(const LibreOfficeSettings& settings);

/// A converter session backed by a private headless LibreOffice. The office is
/// started by the constructor (throwing ConverterError when it cannot be) and
/// replaced transparently by the next Open after it crashed or was killed. Use one
/// object from one thread: an office ends with the thread that started it, so that
/// no office outlives a program that died.
class LibreOfficeSession final : public ConverterSession {
public:
    explicit LibreOfficeSession(LibreOfficeSettings settings = {});
    /// Quits the office if Quit was not called.
    ~LibreOfficeSession() override;

    std::unique_ptr<ConverterDocument> Open(const std::string& fileName,
                                            const std::string& password) override;
    void Quit() override;
    int OfficeProcessId() const override;

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace pelmora
