// SPDX-License-Identifier: GPL-3.0-or-later
// Times the settings file: LoadOption and SaveOption on a typical file, then on a 60 MB file with
// [Option] at its end, with the write and the sync of the same bytes apart. Prints medians. Plain
// C++ over the settings library, so that the Windows build times its program too (under Wine).
#include "settings/modpomvale.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double milliseconds(Clock::duration elapsed)
{
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The median time of `runs` calls of work, in milliseconds.
double medianMilliseconds(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        work();
        times.push_back(milliseconds(Clock::now() - start));
    }
    return median(times);
}

void put(const std::filesystem::path &path, const std::string &bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    if (!file)
        std::exit(1);
}

// Each save stores a path other than the one in the file, so that every run writes.
void saveAnotherPath(int &saves)
{
    modPomvale::SoundPath
        = u"/home/user/sounds/alarm" + std::u16string(1, char16_t(u'0' + ++saves % 2)) + u".wav";
    if (modPomvale::SaveOption() != settings::SaveOutcome::Saved)
        std::exit(1);
}

// Writes the bytes to a new file, then syncs it: the two costs of a save apart, in milliseconds.
std::pair<double, double> writeThenSync(const std::filesystem::path &path, const std::string &bytes)
{
#ifdef _WIN32
    HANDLE file
        = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const Clock::time_point start = Clock::now();
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    const Clock::time_point wrote = Clock::now();
    FlushFileBuffers(file);
    const Clock::time_point synced = Clock::now();
    CloseHandle(file);
    DeleteFileW(path.c_str());
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const Clock::time_point start = Clock::now();
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0)
            std::exit(1);
        done += std::size_t(n);
    }
    const Clock::time_point wrote = Clock::now();
    ::fsync(fd);
    const Clock::time_point synced = Clock::now();
    ::close(fd);
    ::unlink(path.c_str());
#endif
    return {milliseconds(wrote - start), milliseconds(synced - wrote)};
}

} // namespace

int main()
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path()
        / ("pomvale-bench-settings-" + std::to_string(Clock::now().time_since_epoch().count()));
    std::filesystem::create_directory(dir);
    modPomvale::setExecutableFolderOverride(dir);
    const std::filesystem::path ini = dir / "Pomvale.ini";

    put(ini, "[Option]\r\nEnable=1\r\nPath=/home/\xE9\x9F\xB3\xE6\xA5\xBD/alarm.wav\r\n");
    const double load = 1e3 * medianMilliseconds(2001, [] { modPomvale::LoadOption(); });
    std::printf("LoadOption, typical file:  median %9.1f us (2001 runs)\n", load);
    int saves = 0;
    const double save = 1e3 * medianMilliseconds(101, [&saves] { saveAnotherPath(saves); });
    std::printf(
        "SaveOption, typical file:  median %9.1f us (101 runs; one crash-safe replace with its sync)\n",
        save);

    std::string big("[Filler]\r\n");
    const std::string line("key=a line of filler that makes the file large\r\n");
    big.reserve(60 * 1024 * 1024 + 64);
    while (big.size() < 60u * 1024 * 1024)
        big += line;
    big += "[Option]\r\nEnable=1\r\nPath=/home/user/sounds/alarm0.wav\r\n";
    put(ini, big);
    const double bigLoad = medianMilliseconds(11, [] { modPomvale::LoadOption(); });
    std::printf("LoadOption, 60 MB file, [Option] at its end: median %7.1f ms (11 runs)\n", bigLoad);
    const double bigSave = medianMilliseconds(11, [&saves] { saveAnotherPath(saves); });
    std::printf("SaveOption, 60 MB file, a changed value:    median %7.1f ms (11 runs)\n", bigSave);

    std::vector<double> writes, syncs;
    for (int run = 0; run < 11; ++run) {
        const auto [write, sync] = writeThenSync(dir / "scratch", big);
        writes.push_back(write);
        syncs.push_back(sync);
    }
    std::printf("  the same bytes to a new file: write median %7.1f ms, sync median %7.1f ms (11 runs)\n",
                median(writes), median(syncs));
    std::error_code error;
    std::filesystem::remove_all(dir, error);
    return 0;
}
