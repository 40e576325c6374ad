#include "catalogue/settingsfile.h"
#include "catalogue/settingslocation.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

// Rewrites the remembered skin index of a program folder's settings file over and over,
// alternating between two values, the way the wind-down writes it, until it is killed. Says "ready" once the
// first write has landed, so whoever kills it knows the loop is running.
int main(int argc, char **argv)
{
    constexpr int kArgumentCount = 4;
    if (argc != kArgumentCount) {
        std::fputs("usage: settings_writer <program folder> <first index> <second index>\n", stderr);
        return EXIT_FAILURE;
    }
    const QString programFolder = QString::fromLocal8Bit(argv[1]);
    const int values[2] = { std::atoi(argv[2]), std::atoi(argv[3]) };
    for (unsigned long long round = 0;; ++round) {
        if (!quillet::catalogue::SettingsFile::writeSkinIndex(
                quillet::catalogue::SettingsLocation::writePath(programFolder), values[round % 2])) {
            std::fputs("settings write failed\n", stderr);
            return EXIT_FAILURE;
        }
        if (round == 0) {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
        }
    }
}
