// SPDX-License-Identifier: GPL-3.0-or-later
#include "posefile/animation_file.h"

#include "test_support.h"

#include <QTest>

#include <atomic>
#include <new>

#include <malloc.h>

using namespace zelbrook;

namespace {

constexpr double kMiB = 1024 * 1024;
std::atomic<std::size_t> allocated{0};
std::atomic<std::size_t> mostAllocated{0};

// `head`, then `piece` as many times as fit in 16 MiB with `tail`.
std::string filled(const std::string &head, const std::string &piece, const std::string &tail, std::size_t &count)
{
    count = (kMaximumAnimationFileSize - head.size() - tail.size()) / piece.size();
    std::string text = head;
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text + tail;
}

} // namespace

// Every allocation of the test is counted, for the most memory reading took.
void *operator new(std::size_t size)
{
    void *memory = std::malloc(size == 0 ? 1 : size);
    if (!memory)
        throw std::bad_alloc();
    const std::size_t now = allocated += malloc_usable_size(memory);
    for (std::size_t most = mostAllocated; now > most && !mostAllocated.compare_exchange_weak(most, now);) {
    }
    return memory;
}
void operator delete(void *memory) noexcept
{
    allocated -= malloc_usable_size(memory);
    std::free(memory);
}
void operator delete(void *memory, std::size_t) noexcept { operator delete(memory); }

class TestAnimationMemory : public QObject
{
    Q_OBJECT

private slots:
    // Files of the largest size read, made to cost the most memory to a
    // reader that kept the whole JSON, read with 100 MiB of address space
    // to spare; the figure is printed.
    void readsHostileFilesInLittleMemory_data()
    {
        QTest::addColumn<int>("shape");
        QTest::newRow("five million empty keys") << 0;
        QTest::newRow("nested arrays") << 1;
        QTest::newRow("one figure many times in a key") << 2;
    }
    void readsHostileFilesInLittleMemory()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer reserves more address space than the limit leaves");
#endif
        QFETCH(int, shape);
        const std::string head = R"({"format": "zelbrook-animation", "version": 2, "figures": [{"id": 1}], )";
        const std::string figure = R"({"id": 1, "pose": {"bodyLength": 35, "bodyAngle": 1, "legLength1": 28,)"
                                   R"( "legLength2": 23, "lLegAngle1": 4, "lLegAngle2": 0, "rLegAngle1": 5,)"
                                   R"( "rLegAngle2": 0, "armLength1": 20, "armLength2": 20, "lArmAngle1": 2,)"
                                   R"( "lArmAngle2": 1, "rArmAngle1": -2, "rArmAngle2": 0, "headRadius": 10,)"
                                   R"( "headWidth": 0.7}},)";
        std::size_t count = 0;
        const std::string text = shape == 0   ? filled(head + R"("keys": [)", "{},", "{}]}", count)
                                 : shape == 1 ? filled(R"({"x": )", "[", "", count)
                                              : filled(head + R"("keys": [{"figures": [)", figure,
                                                       figure.substr(0, figure.size() - 1) + "]}]}", count);
        const QString message = shape == 0   ? QString("the file has %1 keys, more than 10000").arg(count + 1)
                                : shape == 1 ? "line 1, column 38: the text is nested deeper than 32 levels"
                                             : "key 1: figure 1 is in the key twice";
        const std::size_t before = mostAllocated = allocated.load();
        try {
            const test::AddressSpaceLimit limit(100 * 1024 * 1024);
            const Result<Animation> read = readAnimationFile(text, test::startPose());
            QCOMPARE(read ? QString("accepted") : QString::fromStdString(read.error().message), message);
        } catch (const std::bad_alloc &) {
            QFAIL("the reading ran out of memory");
        }
        const double most = static_cast<double>(mostAllocated - before);
        qInfo("%s: a file of %.1f MiB took at most %.1f MiB more memory to read, %.2f times its size",
              QTest::currentDataTag(), text.size() / kMiB, most / kMiB, most / text.size());
    }
};

QTEST_APPLESS_MAIN(TestAnimationMemory)
#include "tst_animation_memory.moc"
