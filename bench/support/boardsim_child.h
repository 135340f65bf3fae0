#pragma once
// The board simulator as a child process of a benchmark, beside it in the
// build's bin folder; its first output line is its terminal's path.
#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <stdexcept>
#include <string>

namespace zrv::bench {

class BoardsimChild {
public:
    explicit BoardsimChild(const QStringList& args) {
        process_.setProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/boardsim"));
        process_.setArguments(args);
        process_.start();
        if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(5000))
            throw std::runtime_error("boardsim did not start");
        path_ = process_.readLine().trimmed().toStdString();
    }
    ~BoardsimChild() {
        process_.write("quit\n");
        if (!process_.waitForFinished(2000)) process_.kill();
        process_.waitForFinished(2000);
    }
    BoardsimChild(const BoardsimChild&) = delete;
    BoardsimChild& operator=(const BoardsimChild&) = delete;

    const std::string& path() const { return path_; }

private:
    QProcess process_;
    std::string path_;
};

}  // namespace zrv::bench
