#pragma once
/// \file
/// Helpers shared by the test binaries.

#include <filesystem>
#include <string>
#include <vector>

#include "core/notifier.h"

namespace zrv::test {

/// A fresh folder under the system's temporary folder, removed with its
/// contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

/// Records every message and question instead of showing it; questions get
/// the answers queued in \c answers (No once they run out).
class RecordingNotifier : public Notifier {
public:
    void show(const Message& message) override;
    bool ask(const Message& message) override;
    /// Answers with the next of \c saveChoices; once they run out, as a
    /// Yes/No question (the next of \c answers: No discards).
    SaveChoice askToSave(const Message& message) override;
    /// The keys of every message and question, in order.
    std::vector<std::string> keys() const;
    /// Forgets every message and question recorded so far.
    void clear();

    std::vector<Message> shown;
    std::vector<Message> asked;
    std::vector<bool> answers;
    std::vector<SaveChoice> saveChoices;

private:
    std::vector<std::string> order_;
};

/// Writes \p bytes to \p path, replacing the file.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
/// The whole file as bytes; empty when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

/// The lines of \p text, split at '\n'; a final newline ends the last line
/// and adds no empty one.
std::vector<std::string> SplitLines(const std::string& text);

/// Result of running one of the built programs.
struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

/// Runs the built program \p program (e.g. "zrv41k-cli") from the build's
/// bin folder with \p args; \p input goes to its standard input.
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& input = {});

/// The build's bin folder, where the programs and DefLang.dat are.
std::filesystem::path BinDir();
/// The source tree's top folder.
std::filesystem::path SourceDir();

}  // namespace zrv::test
