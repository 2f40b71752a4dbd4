#pragma once

#include <QtGlobal>

#include <cstddef>

// A fixed-size allocator for objects such as tree nodes: large aligned blocks
// split into slots. A slot has no allocator header, objects allocated in
// sequence are contiguous, and freeing a slot is a few pointer writes; a block
// is released to the system once all of its slots are free.
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

    // Blocks allocated, including the spare kept when all are free.
    qsizetype blockCount() const { return m_blocks; }
    std::size_t slotsPerBlock() const { return m_slotCount; }

private:
    struct Block;

    Block *newBlock();
    void linkPartial(Block *block);
    void unlinkPartial(Block *block);

    const std::size_t m_slotSize;
    const std::size_t m_slotCount;
    // Linked list of blocks with at least one free slot, the block freed into
    // most recently first.
    Block *m_partial = nullptr;
    // One empty block is kept rather than released, so a node created and
    // destroyed repeatedly at a block boundary costs no system calls.
    Block *m_spare = nullptr;
    qsizetype m_blocks = 0;
};
