#include "model/pose_document.h"

#include <QTest>

#include <atomic>
#include <cstdlib>
#include <new>

using namespace zelbrook;

namespace {

// Bytes allocated and not yet freed. Each block carries its size in front.
std::atomic<std::size_t> liveBytes{0};
constexpr std::size_t kHeader = alignof(std::max_align_t);

} // namespace

void *operator new(std::size_t size)
{
    auto *block = static_cast<unsigned char *>(std::malloc(size + kHeader));
    if (!block)
        throw std::bad_alloc();
    *reinterpret_cast<std::size_t *>(block) = size;
    liveBytes += size;
    return block + kHeader;
}

void operator delete(void *pointer) noexcept
{
    if (!pointer)
        return;
    auto *block = static_cast<unsigned char *>(pointer) - kHeader;
    liveBytes -= *reinterpret_cast<std::size_t *>(block);
    std::free(block);
}

void operator delete(void *pointer, std::size_t) noexcept { operator delete(pointer); }

class TestDocumentMemory : public QObject
{
    Q_OBJECT

private slots:
    // A step that copied the animation would cost 1,000 keys each time,
    // some 200 MB over the run.
    void aThousandStepsOnAThousandKeysStaySmall()
    {
        PoseDocument document;
        document.replaceAnimation(Animation(Playback{}, std::vector<Key>(1000, Key{})));
        const std::size_t start = liveBytes;
        for (int step = 0; step < 1000; ++step) {
            switch (step % 4) {
            case 0:
                QVERIFY(document.addKey());
                break;
            case 1:
                document.setPosition(FieldId::BodyAngle, std::int16_t(step % 180));
                break;
            case 2:
                QVERIFY(document.setKeyTiming(1 + step % 9, step % 5, Ease::Smooth));
                break;
            default:
                QVERIFY(document.moveKey(PoseDocument::Direction::Earlier));
            }
        }
        const std::size_t used = liveBytes - start;
        QVERIFY2(used < 20u * 1024 * 1024, qPrintable(QString::number(used)));
        QVERIFY(document.undo());
    }
};

QTEST_APPLESS_MAIN(TestDocumentMemory)
#include "tst_document_memory.moc"
