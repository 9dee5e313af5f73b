// Throughput of FindBytes beside the plain first-byte scan as a Windows program, run under Wine.
#include "bench/find_bytes_cases.h"

#include <windows.h>

#include <cstring>
#include <functional>

namespace {

using find_bytes_bench::Case;
using find_bytes_bench::Measurement;

using SearchFunction = std::function<std::int32_t(const ByteBuffer&, const ByteBuffer&)>;

// The C runtime's memchr, which under Wine goes a byte at a time.
std::int32_t Memchr(const ByteBuffer& data, const ByteBuffer& pattern) {
    const void* found =
        std::memchr(data.Data(), pattern.Data()[0], static_cast<std::size_t>(data.Length()));
    return found
               ? static_cast<std::int32_t>(static_cast<const std::uint8_t*>(found) - data.Data()) +
                     1
               : -1;
}

// Seconds this thread has run, so that other processes on the machine do not count; wall-clock
// time where the thread times are not available.
double ThreadSeconds() {
    FILETIME creation, exit, kernel, user;
    if (GetThreadTimes(GetCurrentThread(), &creation, &exit, &kernel, &user)) {
        const auto ticks = [](const FILETIME& time) {
            return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
        };
        return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
    }
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Runs the search until half a second of thread time has passed (at least once, at most 200
// times) and gives the mean time per run; negative when the search gives a wrong answer. Thread
// times advance in ticks of about 10 ms, so short runs are only timed together.
double SecondsPerRun(const SearchFunction& search, const ByteBuffer& data,
                     const ByteBuffer& pattern, std::int32_t expected) {
    if (search(data, pattern) != expected) return -1;  // also brings the data into memory
    const double start = ThreadSeconds();
    double elapsed = 0;
    int runs = 0;
    while (runs < 200 && (runs == 0 || elapsed < 0.5)) {
        if (search(data, pattern) != expected) return -1;
        ++runs;
        elapsed = ThreadSeconds() - start;
    }
    return elapsed / runs;
}

}  // namespace

int main() {
    std::vector<Measurement> measurements;
    for (const Case& searchCase : find_bytes_bench::Cases()) {
        const ByteBuffer& data =
            find_bytes_bench::ContentOf(searchCase.content, searchCase.mebibytes);
        if (data.IsEmpty()) return 1;
        const ByteBuffer pattern = ByteBuffer::FromText(searchCase.pattern);
        std::vector<std::pair<std::string, SearchFunction>> searches = {{"FindBytes", FindBytes}};
        if (searchCase.pattern.size() == 1) {
            searches.emplace_back(
                "SSE2 scan", [](const ByteBuffer& data, const ByteBuffer& pattern) {
                    return find_bytes_bench::Sse2ByteScan(data, pattern.Data()[0]);
                });
            searches.emplace_back("memchr", Memchr);
        } else {
            searches.emplace_back("plain scan", find_bytes_bench::PlainScan);
        }
        for (const auto& [searchName, search] : searches) {
            const double seconds = SecondsPerRun(search, data, pattern, searchCase.expected);
            if (seconds < 0) {
                std::printf("%s, %s: wrong answer\n", searchCase.name, searchName.c_str());
                return 1;
            }
            measurements.push_back({searchCase.name, searchCase.mebibytes, searchName, seconds});
            std::printf("%-40s %5d MiB %-12s %8.1f ms %8.2f GB/s\n", searchCase.name,
                        searchCase.mebibytes, searchName.c_str(), seconds * 1e3,
                        find_bytes_bench::GigabytesPerSecond(measurements.back()));
            std::fflush(stdout);
        }
    }
    find_bytes_bench::PrintSummary(measurements);
    return 0;
}
