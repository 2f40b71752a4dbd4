#pragma once

#include <QtGlobal>

#include <cstddef>

// Memory for equal-sized records such as tree nodes: large aligned blocks cut
// into slots. A slot carries no allocator header, records made one after the
// other lie side by side, and freeing a slot is a few pointer writes; a block
// goes back to the system once all of its slots are free.
//
// Not thread-safe: every node lives on the GUI thread.
class NodeAllocator
{
public:
    explicit NodeAllocator(std::size_t slotSize);
    ~NodeAllocator();

    Q_DISABLE_COPY_MOVE(NodeAllocator)

    void *allocate();
    void deallocate(void *slot) noexcept;

    // Blocks held, including the one kept back when all are free.
    qsizetype blockCount() const { return blocks; }
    std::size_t slotsPerBlock() const { return slotCount; }

private:
    struct Block;

    Block *newBlock();
    void linkPartial(Block *block);
    void unlinkPartial(Block *block);

    const std::size_t slotSize;
    const std::size_t slotCount;
    // Blocks with at least one free slot, most recently freed into first.
    Block *partial = nullptr;
    // One empty block is kept rather than released, so a node made and
    // destroyed over and over at a block boundary costs no system calls.
    Block *spare = nullptr;
    qsizetype blocks = 0;
};
