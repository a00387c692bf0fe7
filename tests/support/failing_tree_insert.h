// Makes a tree control refuse one insertion, as a tree out of memory does:
// the module's calls of SendMessageA are rerouted (through its import
// table), and the chosen TVM_INSERTITEMA returns null without reaching the
// tree. Every other message goes through. One object at a time.
#pragma once
#include <windows.h>

#include "import_patch.h"

class FailingTreeInsert {
  public:
    // module: the code whose insertions are counted (a DLL kept loaded for
    // the object's life, or this program).
    explicit FailingTreeInsert(HMODULE module);
    ~FailingTreeInsert();
    FailingTreeInsert(const FailingTreeInsert&) = delete;
    FailingTreeInsert& operator=(const FailingTreeInsert&) = delete;

    bool Patched() const { return patch_.Patched(); }
    // Counts insertions from 0 again; the one with that index fails (-1: none).
    void FailInsert(long index);
    // Insertions asked for since FailInsert, the refused one included.
    long Inserts() const;
    bool Refused() const;

  private:
    ImportPatch patch_;
};
