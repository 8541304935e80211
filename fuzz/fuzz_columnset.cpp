// libFuzzer target for one column set, chosen at build time by COLUMN_SET (its class name):
// every input becomes one record of the set's type, allocated at its exact size, and every
// column is asked for both its display text and its raw value (see ColumnSetProbe).

#include "ColumnSetProbe.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace VEK_SC_Space;

namespace {

struct Harness
{
    Harness()
        : set(findColumnSet(COLUMN_SET))
        , account(set ? set->accountType : 1)
    {
        account.setDefaultInvestorID(QStringLiteral("880012345"));
        if (set)
            probe = new ColumnSetProbe(*set, &account);
    }

    const ColumnSetEntry* set;
    UserData account;
    ColumnSetProbe* probe = nullptr;
};

// Lives until the process ends; libFuzzer leaves by exit(), past any static destructor order.
Harness& harness()
{
    static Harness* instance = new Harness;
    return *instance;
}

[[noreturn]] void fail(const QString& problem)
{
    std::fprintf(stderr, "column set check failed: %s\n", problem.toLocal8Bit().constData());
    std::abort();
}

} // namespace

// Without an explicit -max_len, inputs are capped at the record's size: longer ones would only
// add bytes that are never read.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    Harness& h = harness();
    if (!h.set) {
        std::fprintf(stderr, "unknown column set %s\n", COLUMN_SET);
        std::abort();
    }
    const QString problem = h.probe->checkNullAndForeign();
    if (!problem.isEmpty())
        fail(problem);

    for (int i = 1; i < *argc; ++i) {
        if (std::strncmp((*argv)[i], "-max_len=", 9) == 0)
            return 0;
    }
    static std::string maxLen = "-max_len=" + std::to_string(h.set->recordSize);
    static std::vector<char*> arguments(*argv, *argv + *argc);
    arguments.insert(arguments.begin() + 1, maxLen.data());
    arguments.push_back(nullptr);
    *argc = int(arguments.size()) - 1;
    *argv = arguments.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString problem = harness().probe->check(data, size);
    if (!problem.isEmpty())
        fail(problem);
    return 0;
}
