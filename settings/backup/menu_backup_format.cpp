#include "settings/backup/menu_backup_format.h"

#include <nlohmann/json.hpp>

#include <cstdint>

const char kBackupFormatName[] = "Tevrix menu";

namespace {
const char kFormatKey[] = "format";
const char kVersionKey[] = "version";
const char kMenuKey[] = "menu";
const char kTitleKey[] = "title";
const char kTextKey[] = "text";
const char kSubmenuKey[] = "submenu";

// The document, then per menu level an array and an entry object; an entry on
// the deepest level may still open its (empty) submenu array.
const size_t kMaxJsonNesting = 2 * kMaxBackupLevels + 2;

using Json = nlohmann::json;

// Follows the parse event by event. The parser keeps a stack of its own
// instead of recursing, so this bound on nesting is the only one needed.
class BackupSax : public nlohmann::json_sax<Json> {
  public:
    explicit BackupSax(std::vector<BackupEntry>& entries) : entries_(entries) {}

    BackupError Result(bool parsed, const char* data, size_t size) const {
        if (tooDeep_)
            return BackupError::kTooDeep;
        if (!parsed)
            return IsValidUtf8(data, size) ? BackupError::kNotJson : BackupError::kInvalidUtf8;
        if (!formatMatches_)
            return BackupError::kOtherFormat;
        if (version_ > kBackupVersion)
            return BackupError::kNewerVersion;
        if (version_ < 1 || !sawMenu_ || badMenu_)
            return BackupError::kBadMenu;
        return BackupError::kNone;
    }

    bool null() override { return Scalar(); }
    bool boolean(bool) override { return Scalar(); }
    bool number_integer(number_integer_t value) override { return Number(value); }
    bool number_unsigned(number_unsigned_t value) override {
        return Number(value > static_cast<number_unsigned_t>(INT64_MAX)
                          ? INT64_MAX
                          : static_cast<int64_t>(value));
    }
    bool number_float(number_float_t, const string_t&) override { return Scalar(); }
    bool binary(binary_t&) override { return Scalar(); }

    bool string(string_t& value) override {
        Frame frame = Top();
        if (frame == Frame::kDocument && key_ == kFormatKey) {
            formatMatches_ = value == kBackupFormatName;
            return true;
        }
        if (frame == Frame::kEntry && key_ == kTitleKey) {
            entries_[openEntries_.back()].title = std::move(value);
            return true;
        }
        if (frame == Frame::kEntry && key_ == kTextKey) {
            entries_[openEntries_.back()].text = std::move(value);
            return true;
        }
        return Scalar();
    }

    bool key(string_t& name) override {
        key_ = std::move(name);
        // A member named twice would leave it open which one counts.
        Frame frame = Top();
        if (frame == Frame::kDocument || frame == Frame::kEntry) {
            std::vector<std::string>& seen = seenKeys_.back();
            for (const std::string& earlier : seen)
                if (earlier == key_)
                    return Bad();
            if (IsKnownKey(frame, key_))
                seen.push_back(key_);
        }
        return true;
    }

    bool start_object(std::size_t) override {
        if (!Enter())
            return false;
        Frame frame = Top();
        if (frames_.empty())
            return Push(Frame::kDocument);
        if (frame == Frame::kMenu) {
            BackupEntry entry;
            entry.depth = menuLevel_ - 1;
            openEntries_.push_back(entries_.size());
            entries_.push_back(std::move(entry));
            return Push(Frame::kEntry);
        }
        if (IsKnownKey(frame, key_))
            Bad(); // a known member that holds an object
        return Push(Frame::kSkip);
    }

    bool end_object() override {
        if (Top() == Frame::kEntry) {
            // A text and a submenu at once leave the entry's kind open.
            if (Saw(kTextKey) && Saw(kSubmenuKey))
                Bad();
            openEntries_.pop_back();
        }
        return Leave();
    }

    bool start_array(std::size_t) override {
        if (!Enter())
            return false;
        Frame frame = Top();
        if (frame == Frame::kDocument && key_ == kMenuKey) {
            sawMenu_ = true;
            return OpenMenu();
        }
        if (frame == Frame::kEntry && key_ == kSubmenuKey) {
            entries_[openEntries_.back()].submenu = true;
            return OpenMenu();
        }
        if (frame == Frame::kMenu || IsKnownKey(frame, key_))
            Bad();
        return Push(Frame::kSkip);
    }

    bool end_array() override {
        if (Top() == Frame::kMenu)
            --menuLevel_;
        return Leave();
    }

    bool parse_error(std::size_t, const std::string&, const Json::exception&) override {
        return false;
    }

  private:
    enum class Frame { kNone, kDocument, kMenu, kEntry, kSkip };

    Frame Top() const { return frames_.empty() ? Frame::kNone : frames_.back(); }

    static bool IsKnownKey(Frame frame, const std::string& key) {
        if (frame == Frame::kDocument)
            return key == kFormatKey || key == kVersionKey || key == kMenuKey;
        if (frame == Frame::kEntry)
            return key == kTitleKey || key == kTextKey || key == kSubmenuKey;
        return false;
    }

    // A value that is no container; wrong where a known member expects another kind.
    bool Scalar() {
        Frame frame = Top();
        if (frame == Frame::kMenu || IsKnownKey(frame, key_))
            Bad();
        return true;
    }

    bool Number(int64_t value) {
        if (Top() == Frame::kDocument && key_ == kVersionKey) {
            version_ = value;
            return true;
        }
        return Scalar();
    }

    bool Saw(const char* key) const {
        for (const std::string& seen : seenKeys_.back())
            if (seen == key)
                return true;
        return false;
    }

    bool Bad() {
        badMenu_ = true;
        return true;
    }

    bool Enter() {
        if (frames_.size() + 1 > kMaxJsonNesting) {
            tooDeep_ = true;
            return false;
        }
        return true;
    }

    bool Push(Frame frame) {
        frames_.push_back(frame);
        seenKeys_.emplace_back();
        return true;
    }

    bool Leave() {
        frames_.pop_back();
        seenKeys_.pop_back();
        return true;
    }

    bool OpenMenu() {
        ++menuLevel_;
        return Push(Frame::kMenu);
    }

    std::vector<BackupEntry>& entries_;
    std::vector<Frame> frames_;
    std::vector<std::vector<std::string>> seenKeys_; // known members met, per open object
    std::vector<size_t> openEntries_;                // indexes of the entry objects open
    std::string key_;                                // the member whose value comes next
    int menuLevel_ = 0;                              // menu arrays open
    bool formatMatches_ = false;
    int64_t version_ = 0;
    bool sawMenu_ = false;
    bool badMenu_ = false;
    bool tooDeep_ = false;
};

// The length of the UTF-8 sequence that lead starts, 0 for a byte that starts none.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}
} // namespace

bool IsValidUtf8(const char* data, size_t size) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size;) {
        unsigned char lead = bytes[i];
        int length = SequenceLength(lead);
        if (length == 0 || size - i < static_cast<size_t>(length))
            return false;
        for (int k = 1; k < length; ++k)
            if ((bytes[i + k] & 0xC0) != 0x80)
                return false;
        // The second byte's range rules out overlong forms, surrogates and
        // code points past U+10FFFF.
        unsigned char second = length > 1 ? bytes[i + 1] : 0;
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
            return false;
        i += length;
    }
    return true;
}

BackupError ReadMenuBackup(const char* data, size_t size, std::vector<BackupEntry>& entries) {
    entries.clear();
    BackupSax sax(entries);
    bool parsed = Json::sax_parse(data, data + size, &sax);
    BackupError error = sax.Result(parsed, data, size);
    if (error != BackupError::kNone)
        entries.clear();
    return error;
}

std::string WriteMenuBackup(const std::vector<BackupEntry>& entries) {
    using Ordered = nlohmann::ordered_json;
    Ordered document = {
        {"format", kBackupFormatName}, {"version", kBackupVersion}, {"menu", Ordered::array()}};
    // The arrays open from the top level down to the current submenu; only the
    // last one grows, so the pointers to the ones above it stay valid.
    std::vector<Ordered*> open{&document[kMenuKey]};
    for (const BackupEntry& entry : entries) {
        size_t level = entry.depth < 0 ? 0 : static_cast<size_t>(entry.depth);
        if (level < open.size())
            open.resize(level + 1);
        Ordered item = {{kTitleKey, entry.title}};
        if (entry.submenu)
            item[kSubmenuKey] = Ordered::array();
        else
            item[kTextKey] = entry.text;
        Ordered& added = open.back()->emplace_back(std::move(item));
        if (entry.submenu)
            open.push_back(&added[kSubmenuKey]);
    }
    // Line breaks inside strings are escaped, so every raw LF is layout.
    std::string lines = document.dump(2);
    std::string text;
    text.reserve(lines.size() + lines.size() / 16);
    for (char c : lines) {
        if (c == '\n')
            text += '\r';
        text += c;
    }
    text += "\r\n";
    return text;
}
