// The allocator tuning the program makes at start: freed small blocks are not kept unmerged in
// glibc's fast bins (where a large search's cells made the next search wait).
#include <QtTest>

#include "db/MemoryTuning.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

#include <vector>

class TestMemoryTuning : public QObject {
    Q_OBJECT

  private slots:
    void freedCellsAreNotLeftInFastBins() {
#if defined(__GLIBC__) && defined(M_MXFAST) && __GLIBC_PREREQ(2, 33)
        TuneMemoryAllocator();
        std::vector<void*> blocks;
        for (int i = 0; i < 20000; ++i)
            blocks.push_back(malloc(24 + i % 40));
        // Freed out of order, as a grid's cells are: no two neighbours merge by chance.
        for (size_t i = 0; i < blocks.size(); i += 2)
            free(blocks[i]);
        QCOMPARE(mallinfo2().smblks, size_t(0));
        for (size_t i = 1; i < blocks.size(); i += 2)
            free(blocks[i]);
#else
        QSKIP("the fast bins are glibc's");
#endif
    }
};

QTEST_MAIN(TestMemoryTuning)
#include "tst_memorytuning.moc"
