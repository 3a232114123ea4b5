#include "tools/tarvek-sim/test_authority.h"

#include <cstdlib>
#include <stdexcept>

namespace tarvek::simtool {

TestAuthority makeTestAuthority(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    // P-256 keys: quick to make, and the client checks the chain and the address as for RSA.
    const std::string command =
        "cd '" + dir.string() + "' && "
        "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj /CN=TarvekSimCA "
        "-keyout ca.key -out ca.pem -addext basicConstraints=critical,CA:TRUE -addext keyUsage=keyCertSign "
        "&& openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj /CN=127.0.0.1 "
        "-keyout server.key -out server.csr && printf 'subjectAltName=IP:127.0.0.1\\n' > ext.cnf && "
        "openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile ext.cnf "
        "-out server.pem";
    if (dir.string().find('\'') != std::string::npos || std::system(("(" + command + ") >'" + (dir / "openssl.log").string() + "' 2>&1").c_str()) != 0)
        throw std::runtime_error("openssl could not make the test authority in " + dir.string());
    return {(dir / "ca.pem").string(), (dir / "server.pem").string(), (dir / "server.key").string()};
}

}  // namespace tarvek::simtool
