// Stands in for the program during update tests: it records how it was started in "started.txt" beside itself, and
// with "--linger" keeps running until a file "quit" appears there (so the helper has a running program to wait for).
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include <sys/stat.h>

int main(int argc, char** argv)
{
    const std::string self = argv[0];
    const std::string folder = self.substr(0, self.find_last_of('/') + 1);
    bool linger = false;
    std::string line = self.substr(self.find_last_of('/') + 1);
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--linger")
            linger = true;
        line += '|';
        line += argv[i];
    }
    if (!linger) {
        if (FILE* file = std::fopen((folder + "started.txt").c_str(), "a")) {
            std::fprintf(file, "%s\n", line.c_str());
            std::fclose(file);
        }
        return 0;
    }
    struct stat st;
    for (int i = 0; i < 1200 && stat((folder + "quit").c_str(), &st) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return 0;
}
