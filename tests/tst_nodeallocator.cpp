#include "model/nodeallocator.h"

#include <QTest>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

class TestNodeAllocator : public QObject
{
    Q_OBJECT

private slots:
    void slotsAreDistinctAndKeepTheirContent();
    void freedSlotsAreReusedBeforeNewBlocks();
    void emptyBlocksGoBackButOne();
};

namespace {

constexpr std::size_t recordSize = 96;

std::vector<void *> allocateMany(NodeAllocator &allocator, std::size_t count)
{
    std::vector<void *> records(count);
    for (void *&slot : records)
        slot = allocator.allocate();
    return records;
}

} // namespace

void TestNodeAllocator::slotsAreDistinctAndKeepTheirContent()
{
    NodeAllocator allocator(recordSize);
    std::vector<void *> records = allocateMany(allocator, allocator.slotsPerBlock() * 2 + 7);
    for (std::size_t i = 0; i < records.size(); ++i) {
        QCOMPARE(reinterpret_cast<std::uintptr_t>(records[i]) % alignof(std::max_align_t), 0u);
        std::memset(records[i], int(i % 251), recordSize);
    }
    // Each slot still holds its own pattern: no two records overlap.
    std::vector<char *> sorted(records.size());
    std::transform(records.cbegin(), records.cend(), sorted.begin(),
                   [](void *slot) { return static_cast<char *>(slot); });
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 1; i < sorted.size(); ++i)
        QVERIFY(sorted[i] - sorted[i - 1] >= std::ptrdiff_t(recordSize));
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto *bytes = static_cast<const unsigned char *>(records[i]);
        QVERIFY(std::all_of(bytes, bytes + recordSize,
                            [i](unsigned char byte) { return byte == i % 251; }));
    }
    QCOMPARE(allocator.blockCount(), 3);
    for (void *slot : records)
        allocator.deallocate(slot);
}

void TestNodeAllocator::freedSlotsAreReusedBeforeNewBlocks()
{
    NodeAllocator allocator(recordSize);
    std::vector<void *> records = allocateMany(allocator, allocator.slotsPerBlock() * 3);
    QCOMPARE(allocator.blockCount(), 3);

    // Every other slot freed, in every block, then as many allocated again.
    std::set<void *> freed;
    for (std::size_t i = 0; i < records.size(); i += 2) {
        allocator.deallocate(records[i]);
        freed.insert(records[i]);
    }
    for (std::size_t i = 0; i < records.size(); i += 2) {
        void *slot = allocator.allocate();
        QVERIFY(freed.erase(slot) == 1);
        records[i] = slot;
    }
    QCOMPARE(allocator.blockCount(), 3);
    for (void *slot : records)
        allocator.deallocate(slot);
}

void TestNodeAllocator::emptyBlocksGoBackButOne()
{
    NodeAllocator allocator(recordSize);
    std::vector<void *> records = allocateMany(allocator, allocator.slotsPerBlock() * 4);
    QCOMPARE(allocator.blockCount(), 4);
    // Freed from the back, from the front and from the middle alike.
    std::rotate(records.begin(), records.begin() + records.size() / 3, records.end());
    for (void *slot : records)
        allocator.deallocate(slot);
    QCOMPARE(allocator.blockCount(), 1);

    // Made and freed over and over: the kept block serves without new ones.
    for (int i = 0; i < 3; ++i) {
        void *slot = allocator.allocate();
        allocator.deallocate(slot);
        QCOMPARE(allocator.blockCount(), 1);
    }
}

QTEST_GUILESS_MAIN(TestNodeAllocator)
#include "tst_nodeallocator.moc"
