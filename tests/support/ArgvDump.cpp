// A small program for launch tests: it writes its working folder, whether it
// leads its own session, its process id and its arguments, separated by NUL
// bytes, to the file named by TRAMBLE_DUMP. With TRAMBLE_DUMP_SLEEP it then
// stays alive that many seconds.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

int main(int argc, char* argv[])
{
    const char* dump = std::getenv("TRAMBLE_DUMP");
    if (!dump)
        return 2;
    char cwd[4096] = {};
    if (!::getcwd(cwd, sizeof cwd))
        return 3;
    std::string out = cwd;
    out += '\0';
    out += ::getsid(0) == ::getpid() ? "session" : "nosession";
    out += '\0';
    out += std::to_string(::getpid());
    out += '\0';
    for (int i = 0; i < argc; ++i) {
        out += argv[i];
        out += '\0';
    }
    const std::string temp = std::string(dump) + ".part";
    FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file)
        return 4;
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
    std::rename(temp.c_str(), dump);
    if (const char* seconds = std::getenv("TRAMBLE_DUMP_SLEEP"))
        ::sleep(static_cast<unsigned>(std::atoi(seconds)));
    return 0;
}
