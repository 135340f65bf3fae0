#include "tests/link/boardsim_process.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <QCoreApplication>
#include <QStringList>

#include "core/default_image.h"
#include "core/image_rules.h"

namespace zrv::test {

Boardsim::Boardsim(std::vector<std::string> args) {
    QStringList list;
    for (const auto& a : args) list << QString::fromStdString(a);
    list << "--out" << QString::fromStdString((dir_ / "memory.bin").string());
    process_.setProgram(QString::fromStdString((BinDir() / "boardsim").string()));
    process_.setArguments(list);
    process_.start();
    if (!process_.waitForStarted(5000)) throw std::runtime_error("boardsim did not start");
    while (terminal_.empty()) {
        if (!process_.canReadLine() && !process_.waitForReadyRead(5000))
            throw std::runtime_error("boardsim printed no terminal path");
        while (process_.canReadLine() && terminal_.empty())
            terminal_ = process_.readLine().trimmed().toStdString();
    }
    // The tests reach the board through a link of their own: once the board
    // goes, the link leads nowhere, so a terminal number the system gives to
    // another test's simulator meanwhile is never taken for this board.
    const auto link = dir_ / ("board-" + dir_.path().filename().string());
    std::filesystem::create_symlink(terminal_, link);
    path_ = link.string();
}

Boardsim::~Boardsim() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
    if (process_.state() != QProcess::NotRunning) {
        process_.write("quit\n");
        if (!process_.waitForFinished(2000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }
}

void Boardsim::drain() {
    pending_ += process_.readAllStandardOutput().toStdString();
    std::size_t nl;
    while ((nl = pending_.find('\n')) != std::string::npos) {
        lines_.push_back(pending_.substr(0, nl));
        pending_.erase(0, nl + 1);
    }
}

std::vector<std::string> Boardsim::log() {
    process_.waitForReadyRead(50);
    drain();
    return lines_;
}

ConfigImage Boardsim::memory() {
    if (process_.state() != QProcess::NotRunning) {
        process_.write("dump\n");
        for (int i = 0; i < 100; ++i) {
            process_.waitForReadyRead(50);
            drain();
            if (!lines_.empty() && lines_.back() == "dumped") break;
        }
        lines_.pop_back();
    }
    ConfigImage image;
    const std::string bytes = ReadFile(dir_ / "memory.bin");
    if (bytes.size() != kImageSize) throw std::runtime_error("boardsim wrote no memory");
    std::copy(bytes.begin(), bytes.end(), image.bytes().begin());
    return image;
}

bool Boardsim::waitForExit(int ms) {
    const bool ended = process_.state() == QProcess::NotRunning || process_.waitForFinished(ms);
    drain();
    std::error_code ec;
    if (ended) std::filesystem::remove(path_, ec);  // the board has gone
    return ended;
}

void RecordingSink::status(const Message& text, bool busy) {
    statuses.push_back((busy ? "busy:" : "done:") + text.english);
}

void RecordingSink::progressRange(int first, int last) {
    rangeFirst = first;
    rangeLast = last;
}

link::LinkTiming FastTiming() {
    link::LinkTiming t;
    t.readPause = std::chrono::milliseconds(0);
    return t;
}

ConfigImage SampleImage() {
    ConfigImage image = StartupImage();
    StampIdentityForSave(image);
    StoreTableChecksum(image);
    return image;
}

void WriteMemoryFile(const std::filesystem::path& path, const ConfigImage& image) {
    WriteFile(path, Bytes(image));
}

std::string Bytes(const ConfigImage& image) {
    return std::string(image.bytes().begin(), image.bytes().end());
}

}  // namespace zrv::test
