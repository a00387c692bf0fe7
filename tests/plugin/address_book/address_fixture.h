// Drives the plug-in as the mail client does: a mailbox folder of its own
// with Mailbox.ini and address books, the store's "UseAddress" switch, a
// compose-window menu build, and the entries' callbacks into an edit control.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include "host/host_stub.h"

#include <string>
#include <vector>

// The address-book popup of one build, flattened for comparison: items are
// separated by ",", a column break is "|", a separator "-", an entry
// "label=index" and a group "label{...}".
struct AddressView {
    std::string shape;
    std::vector<UINT> commandIds; // of the entries, in menu order
};

class AddressMenuTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The mailbox folder, ending in a backslash.
    const std::string& Mailbox() const { return mailbox_; }
    // Writes bytes to a file of the mailbox folder.
    void WriteMailboxFile(const std::string& name, const std::string& bytes);
    // Writes Mailbox.ini with "AddressFile" in section "Property".
    void SetAddressFile(const std::string& value);
    // Sets "UseAddress"; a negative value removes it.
    void SetUseAddress(int value);

    // Runs a compose-window menu build into a fresh host menu and returns the
    // number of items the plug-in appended.
    int BuildHostMenu();
    // The last item's popup of the host menu after BuildHostMenu.
    HMENU AddressPopup() const;
    AddressView ViewAddressPopup() const;
    // The text each entry inserts, chosen in turn into the edit control.
    std::vector<std::string> InsertedTexts(const std::vector<UINT>& commandIds);

    HWND editor_ = nullptr;
    static constexpr ComposeWindowRef kComposeWindow = 0x1234;

  private:
    HMODULE plugin_ = nullptr;
    HMENU hostMenu_ = nullptr;
    std::string mailbox_;
    void DropHostMenu();
};
