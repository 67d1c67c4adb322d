#include "bench/BenchmarkSupport.h"

#include <algorithm>
#include <stdexcept>

const char* const BenchmarkPst = "Archiwum";

namespace
{
std::string Identifier(int kind, int index)
{
    char hex[33];
    wsprintfA(hex, "%08x%024x", kind, index);
    return hex;
}
} // namespace

int SeedProfile(ProfileTreeBuilder& profile, int sections)
{
    int accounts = std::max(1, sections / 200);
    int candidates = sections / 10;
    int ghosts = candidates / 5;
    profile.AddAccountsKey();
    for (int i = 0; i < accounts; ++i)
    {
        profile.AddAccount(Identifier(0, i).substr(24), "Konto", Identifier(1, i));
        profile.AddService(Identifier(1, i), Identifier(2, i));
        profile.AddSection(Identifier(2, i),
                           SectionValues().WideDisplayName(BenchmarkPst).NarrowDisplayName(BenchmarkPst));
    }
    for (int i = 0; i < candidates; ++i)
    {
        SectionValues values =
            SectionValues().WideDisplayName(BenchmarkPst).NarrowDisplayName(BenchmarkPst).NarrowProvider("mspst.dll");
        values.Reference1(i < ghosts ? Identifier(4, i) : Identifier(2, i % accounts));
        profile.AddSection(Identifier(3, i), values);
    }
    for (int i = 2 * accounts + candidates; i < sections; ++i)
    {
        profile.AddSection(Identifier(5, i), SectionValues()
                                                 .WideDisplayName("Inny " + std::to_string(i))
                                                 .NarrowProvider("emsmdb32.dll")
                                                 .Reference1(Identifier(6, i)));
    }
    return ghosts;
}

LARGE_INTEGER CounterNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double MillisecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now = CounterNow();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Milliseconds(const std::function<void()>& work)
{
    LARGE_INTEGER start = CounterNow();
    work();
    return MillisecondsSince(start);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Expect(bool condition, const char* what)
{
    if (!condition)
        throw std::runtime_error(what);
}
