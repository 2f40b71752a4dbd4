#include "tree/nodeallocator.h"

#include <cstdint>
#include <new>

#ifdef Q_OS_UNIX
#include <sys/mman.h>
#endif

namespace {

// Blocks are aligned to their size, so a slot finds its block by masking its
// address.
constexpr std::size_t blockSize = std::size_t(1) << 20;
constexpr std::size_t slotAlignment = alignof(std::max_align_t);

constexpr std::size_t roundUp(std::size_t size, std::size_t alignment)
{
    return (size + alignment - 1) / alignment * alignment;
}

// Blocks are mapped with mmap() where available: they never fragment the
// heap, use exactly their size in memory, and are returned to the system when
// a document is closed.
void *allocateBlock()
{
#ifdef Q_OS_UNIX
    // Map twice the size, then unmap the ends to leave one aligned block.
    const std::size_t span = 2 * blockSize;
    void *mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const auto address = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t start = (address + blockSize - 1) & ~std::uintptr_t(blockSize - 1);
    const std::size_t head = start - address;
    if (head > 0)
        munmap(mapped, head);
    if (const std::size_t tail = span - head - blockSize; tail > 0)
        munmap(reinterpret_cast<void *>(start + blockSize), tail);
    return reinterpret_cast<void *>(start);
#else
    return qMallocAligned(blockSize, blockSize);
#endif
}

void freeBlock(void *block)
{
#ifdef Q_OS_UNIX
    munmap(block, blockSize);
#else
    qFreeAligned(block);
#endif
}

} // namespace

struct NodeAllocator::Block
{
    Block *previous = nullptr;
    Block *next = nullptr;
    void *freeSlots = nullptr; // intrusive free list through the free slots
    std::size_t live = 0;
    std::size_t carved = 0; // slots allocated at least once
    bool isPartial = false;

    char *slots() { return reinterpret_cast<char *>(this) + roundUp(sizeof(Block), slotAlignment); }
};

NodeAllocator::NodeAllocator(std::size_t slotSize)
    : m_slotSize(roundUp(qMax(slotSize, sizeof(void *)), slotAlignment))
    , m_slotCount((blockSize - roundUp(sizeof(Block), slotAlignment)) / m_slotSize)
{
}

NodeAllocator::~NodeAllocator()
{
    // Only the spare can remain: every node is destroyed before its allocator.
    if (m_spare && m_spare->live == 0)
        freeBlock(m_spare);
}

void *NodeAllocator::allocate()
{
    Block *block = m_partial;
    if (!block) {
        block = newBlock();
        linkPartial(block);
    }
    if (block == m_spare)
        m_spare = nullptr;

    void *slot;
    if (block->freeSlots) {
        slot = block->freeSlots;
        block->freeSlots = *static_cast<void **>(slot);
    } else {
        slot = block->slots() + block->carved * m_slotSize;
        ++block->carved;
    }
    if (++block->live == m_slotCount)
        unlinkPartial(block);
    return slot;
}

void NodeAllocator::deallocate(void *slot) noexcept
{
    auto *block = reinterpret_cast<Block *>(reinterpret_cast<std::uintptr_t>(slot)
                                            & ~std::uintptr_t(blockSize - 1));
    *static_cast<void **>(slot) = block->freeSlots;
    block->freeSlots = slot;
    if (block->live-- == m_slotCount)
        linkPartial(block);
    if (block->live > 0)
        return;
    if (!m_spare) {
        m_spare = block;
        return;
    }
    unlinkPartial(block);
    freeBlock(block);
    --m_blocks;
}

NodeAllocator::Block *NodeAllocator::newBlock()
{
    void *memory = allocateBlock();
    if (!memory)
        throw std::bad_alloc(); // as operator new would: there is no smaller fallback
#ifdef MADV_POPULATE_WRITE
    // Once nodes fill blocks, every slot of a new block gets used: its pages
    // are made present in one call rather than one fault each (ignored by
    // kernels before 5.14). The first block, all a small document needs,
    // takes memory only as it is touched.
    if (m_blocks > 0)
        madvise(memory, blockSize, MADV_POPULATE_WRITE);
#endif
    ++m_blocks;
    return new (memory) Block;
}

void NodeAllocator::linkPartial(Block *block)
{
    block->previous = nullptr;
    block->next = m_partial;
    if (m_partial)
        m_partial->previous = block;
    m_partial = block;
    block->isPartial = true;
}

void NodeAllocator::unlinkPartial(Block *block)
{
    if (!block->isPartial)
        return;
    if (block->previous)
        block->previous->next = block->next;
    else
        m_partial = block->next;
    if (block->next)
        block->next->previous = block->previous;
    block->isPartial = false;
}
