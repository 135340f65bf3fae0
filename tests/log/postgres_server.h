#pragma once
// A PostgreSQL server of the test's own, in a temporary folder: initdb and
// pg_ctl from Debian's postgresql package, reached only through a socket in
// that folder. PostgreSQL refuses to run as root, so a test run as root
// runs the server as the unprivileged user nobody.

#include <string>

#include "tests/support/test_support.h"

namespace zrv::test {

class PostgresServer {
public:
    /// Starts the server; when it cannot, why() says so.
    PostgresServer();
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    /// False where the package is not installed (the test is then skipped).
    bool installed() const { return !bin_.empty(); }
    bool running() const { return running_; }
    const std::string& why() const { return why_; }
    /// The log's URL: postgresql://zrv@SOCKET-FOLDER/postgres.
    std::string url() const;

private:
    int run(const std::vector<std::string>& command);

    TempDir dir_;
    std::string bin_;
    std::string folder_;  ///< the server's own folder (socket, data, its log)
    bool asNobody_ = false;
    bool running_ = false;
    std::string why_;
};

}  // namespace zrv::test
