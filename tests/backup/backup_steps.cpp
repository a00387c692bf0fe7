#include "backup_steps.h"

const char kImportCaption[] = "メニューのインポート";

namespace {
const int kBackupPageIndex = 2;
}

Step ClickOnBackupPage(int id) {
    return OnSheet([id](HWND sheet) {
        SelectPage(sheet, kBackupPageIndex);
        PostClick(CurrentPage(sheet), id);
    });
}

Step AnswerImportQuestion(bool replace) {
    return [replace](HWND top) {
        if (!GetDlgItem(top, kReplaceChoice))
            return false;
        CheckRadioButton(top, kAsSubmenuChoice, kReplaceChoice,
                         replace ? kReplaceChoice : kAsSubmenuChoice);
        PostClick(top, IDOK);
        return true;
    };
}

std::vector<Step> ExportTo(const std::string& path) {
    return {ClickOnBackupPage(kExportButton), ChooseFile(path)};
}

std::vector<Step> ImportFrom(const std::string& path, bool replace) {
    return {ClickOnBackupPage(kImportButton), ChooseFile(path), AnswerImportQuestion(replace)};
}

Step ReadTreeInto(std::string* description, bool* applyEnabled) {
    return OnSheet([=](HWND sheet) {
        *description = DescribeTree(sheet);
        if (applyEnabled)
            *applyEnabled = ApplyEnabled(sheet);
    });
}

std::vector<Step> Steps(std::initializer_list<std::vector<Step>> parts) {
    std::vector<Step> all;
    for (const std::vector<Step>& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::string DescribeTree(const ItemView& item) {
    std::string description;
    for (const ItemView& child : item.children) {
        if (!description.empty())
            description += "|";
        description += child.title + "#" + std::to_string(child.image);
        if (child.selectedImage != child.image)
            description += "/" + std::to_string(child.selectedImage);
        if (child.expanded != (child.image == 2))
            description += child.expanded ? "(open)" : "(closed)";
        description += child.hasString ? "=" + child.text : "{" + DescribeTree(child) + "}";
    }
    return description;
}

std::string DescribeTree(HWND sheet) {
    ItemView top = ReadTree(MenuTree(sheet));
    return top.title + "#" + std::to_string(top.image) + "{" + DescribeTree(top) + "}";
}

std::string DescribeStore(const std::vector<StoreEntry>& entries) {
    std::string description;
    for (const StoreEntry& entry : entries) {
        if (!description.empty())
            description += "|";
        description += entry.title;
        description +=
            entry.type == 1 ? "{" + DescribeStore(entry.children) + "}" : "=" + entry.text;
    }
    return description;
}

std::string StoredMenu() {
    std::vector<StoreEntry> entries;
    return ReadStoreMenu(&entries) ? DescribeStore(entries) : "(no menu)";
}
