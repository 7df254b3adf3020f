// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation_document.h"

#include <QTest>

#include <atomic>
#include <cstdlib>
#include <new>

using namespace zelbrook;

// Bytes allocated and not yet freed; each block carries its size in front.
static std::atomic<std::size_t> liveBytes{0};
static constexpr std::size_t kHeader = alignof(std::max_align_t);

void *operator new(std::size_t size)
{
    auto *block = static_cast<unsigned char *>(std::malloc(size + kHeader));
    if (!block)
        throw std::bad_alloc();
    liveBytes += *reinterpret_cast<std::size_t *>(block) = size;
    return block + kHeader;
}

void operator delete(void *pointer) noexcept
{
    if (auto *block = static_cast<unsigned char *>(pointer) - kHeader; pointer) {
        liveBytes -= *reinterpret_cast<std::size_t *>(block);
        std::free(block);
    }
}

void operator delete(void *pointer, std::size_t) noexcept { operator delete(pointer); }

class TestDocumentMemory : public QObject
{
    Q_OBJECT

private slots:
    // A step that copied the animation would cost some 200 MB here.
    void aThousandStepsOnAThousandKeysStaySmall()
    {
        AnimationDocument document;
        document.replaceAnimation(Animation(Playback{}, std::vector<Key>(1000, Key{})));
        const std::size_t start = liveBytes;
        for (int step = 0; step < 1000; ++step) {
            if (step % 3 == 0)
                QVERIFY(document.addKey());
            else if (step % 3 == 1)
                document.setPosition(FieldId::BodyAngle, std::int16_t(step % 180));
            else
                QVERIFY(document.moveKey(AnimationDocument::Direction::Earlier));
        }
        QVERIFY2(liveBytes - start < 20u * 1024 * 1024, qPrintable(QString::number(liveBytes - start)));
    }
};

QTEST_APPLESS_MAIN(TestDocumentMemory)
#include "tst_document_memory.moc"
