// log_writer DATABASE: appends records of a write to the programming log
// one after another, printing "appended ID" after each, until it is killed.
#include <QCoreApplication>
#include <cstdio>

#include "core/default_image.h"
#include "log/programming_log.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: log_writer DATABASE\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    using namespace zrv;
    std::string error;
    const auto log = proglog::ProgrammingLog::open({proglog::LogTarget::Kind::SQLite, argv[1], "--log-db", false}, error);
    if (!log) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    OperationFacts facts;
    facts.operation = PagerOperation::Write;
    facts.ok = true;
    facts.image = StartupImage();
    for (std::uint32_t n = 0;; ++n) {
        facts.image->setByte(0x100, static_cast<std::uint8_t>(n));  // every image its own
        const auto id = log->append(proglog::MakeRecord(facts), error);
        if (!id) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        std::printf("appended %lld\n", *id);
        std::fflush(stdout);
    }
}
