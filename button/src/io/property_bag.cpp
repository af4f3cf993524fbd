// The property bag and its text form. Reading takes every property that is valid and lists
// the rest as problems; only a text that is not a bag at all gives none. The grammar and the
// checks are bag_grammar's; here the pictures that a text names are loaded, once their key
// and kind are known, and only for the keys that take one.
#include "property_bag.h"
#include "text.h"

#include <algorithm>

namespace butt {
namespace {

// Loads the picture that a stored text names, from the sources the reader allows.
PicturePtr LoadNamed(const PictureRef& named, const BagSources& sources, std::string& why) {
    const std::string& source = named.source;
    if (source.rfind("file:", 0) == 0) {
        const std::string path = source.substr(5);
        const auto file = PictureFilePath(sources.pictureFolder, tv::Widen(path), why);
        if (!file) {
            why = "the picture file is not read: " + why;
            return nullptr;
        }
        PicturePtr picture = LoadPictureUnder(sources.pictureFolder, *file, path, why);
        if (!picture)
            why = "the picture cannot be loaded: " + why;
        return picture;
    }
    const std::size_t colon = source.find(':', 4);
    const HMODULE module = sources.resourceModule;
    PicturePtr picture =
        Picture::LoadResource(module ? module : GetModuleHandleW(nullptr), source.substr(colon + 1),
                              named.kind.value_or(PictureKind::Bitmap), why);
    if (!picture)
        why = "the picture cannot be loaded: " + why;
    return picture;
}

// A value that does not fit the others goes; then the rest is checked again.
void RemoveMisfits(PropertyBag& bag, std::vector<BagProblem>& problems) {
    const auto find = [&](const char* key) -> std::optional<StoredValue> {
        const PropertyBag::Value* value = bag.Find(key);
        return value ? std::optional<StoredValue>(ToStored(*value)) : std::nullopt;
    };
    while (const auto fault = CheckStoredCombination(find)) {
        problems.push_back(BagProblem{bag.LineOf(fault->first), fault->first, fault->second});
        bag.Remove(fault->first);
    }
}

} // namespace

StoredValue ToStored(const PropertyBag::Value& value) {
    return std::visit(
        [](const auto& v) -> StoredValue {
            if constexpr (std::is_same_v<std::decay_t<decltype(v)>, PicturePtr>)
                return v ? PictureRef{v->source(), v->kind()} : PictureRef{};
            else
                return v;
        },
        value);
}

std::vector<BagProblem> CheckStoredBag(const PropertyBag& bag, PropertyBag& taken) {
    std::vector<BagProblem> problems;
    taken = PropertyBag();
    for (const std::string& key : bag.Keys()) {
        const PropertyBag::Value& value = *bag.Find(key);
        const int line = bag.LineOf(key);
        std::string why = CheckStoredValue(key, ToStored(value));
        const auto* named = std::get_if<PictureRef>(&value);
        if (why.empty() && named && named->kind && TakesPicture(key))
            why = "the picture is named but not loaded (PropertyBag::Read loads it)";
        if (!why.empty()) {
            problems.push_back(BagProblem{line, key, why, false});
            continue;
        }
        if (!IsKnownKey(key))
            problems.push_back(BagProblem{line, key, "the control has no such property", true});
        taken.Set(key, value, line);
    }
    RemoveMisfits(taken, problems);
    return problems;
}

std::optional<std::wstring> PictureFilePath(const std::wstring& folder, const std::wstring& path,
                                            std::string& why) {
    if (folder.empty()) {
        why = "no picture folder is allowed here";
        return std::nullopt;
    }
    std::wstring wanted = path;
    std::replace(wanted.begin(), wanted.end(), L'/', L'\\');
    if (wanted.empty() || wanted.find_first_of(L"<>\"|?*") != std::wstring::npos ||
        std::any_of(wanted.begin(), wanted.end(), [](wchar_t c) { return c < 0x20; })) {
        why = "it is not a plain file path";
        return std::nullopt;
    }
    // \\server\share, \\?\..., \\.\device: a network path sends the user's credentials to
    // that server when opened, a device path reaches a device.
    if (wanted.rfind(L"\\\\", 0) == 0) {
        why = "network and device paths are never read";
        return std::nullopt;
    }
    const auto isDrive = [](const std::wstring& p) {
        return p.size() >= 2 && p[1] == L':' && ((p[0] | 0x20) >= L'a' && (p[0] | 0x20) <= L'z');
    };
    const bool absolute = isDrive(wanted);
    if ((absolute && (wanted.size() < 3 || wanted[2] != L'\\')) || wanted[0] == L'\\' ||
        wanted.find(L':', absolute ? 2 : 0) != std::wstring::npos) {
        why = "only a path relative to the picture folder or a full path under it is read";
        return std::nullopt;
    }
    const auto parts = [](const std::wstring& p) {
        std::vector<std::wstring> list;
        std::size_t start = 0;
        while (start <= p.size()) {
            std::size_t end = p.find_first_of(L"\\/", start);
            if (end == std::wstring::npos)
                end = p.size();
            list.push_back(p.substr(start, end - start));
            start = end + 1;
        }
        return list;
    };
    // The system's case rules, as the file system's, not the C library's locale.
    const auto upper = [](std::wstring text) {
        if (!text.empty())
            CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
        return text;
    };
    std::vector<std::wstring> base;
    for (const std::wstring& part : parts(folder))
        if (!part.empty() && part != L".")
            base.push_back(part);
    std::vector<std::wstring> full = absolute ? std::vector<std::wstring>{} : base;
    for (const std::wstring& part : parts(wanted)) {
        if (part.empty() || part == L".")
            continue;
        if (part == L"..") {
            if (full.empty()) {
                why = "the path leaves the picture folder";
                return std::nullopt;
            }
            full.pop_back();
            continue;
        }
        // CON, NUL, COM1 and the like are devices in every folder, with any extension; a
        // name ending in a dot or blank is another file than it reads.
        const std::wstring stem = upper(part.substr(0, part.find(L'.')));
        const bool device =
            stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL" ||
            stem == L"CONIN$" || stem == L"CONOUT$" || stem == L"CLOCK$" ||
            (stem.size() == 4 && (stem.rfind(L"COM", 0) == 0 || stem.rfind(L"LPT", 0) == 0) &&
             stem[3] >= L'0' && stem[3] <= L'9');
        if (device || part.back() == L'.' || part.back() == L' ') {
            why = Shown(tv::Narrow(part)) + " is a device name, not a file";
            return std::nullopt;
        }
        full.push_back(part);
    }
    const bool under =
        full.size() > base.size() && std::equal(base.begin(), base.end(), full.begin(),
                                                [&](const std::wstring& x, const std::wstring& y) {
                                                    return upper(x) == upper(y);
                                                });
    if (!under) {
        why = "the path leaves the picture folder";
        return std::nullopt;
    }
    std::wstring result = folder.rfind(L"\\\\", 0) == 0 ? L"\\\\" : L"";
    for (std::size_t i = 0; i < full.size(); ++i)
        result += (i ? L"\\" : L"") + full[i];
    return result;
}

BagRead PropertyBag::Read(const std::string& text, const BagSources& sources) {
    BagRead result;
    StoredText stored = ReadStoredText(text);
    result.error = std::move(stored.error);
    if (!stored.isBag)
        return result;
    result.problems = std::move(stored.problems);
    PropertyBag bag;
    for (StoredEntry& entry : stored.entries) {
        const auto* named = std::get_if<PictureRef>(&entry.value);
        if (named && TakesPicture(entry.key)) {
            std::string why;
            PicturePtr picture = named->kind ? LoadNamed(*named, sources, why) : nullptr;
            if (named->kind && !picture)
                result.problems.push_back(BagProblem{entry.line, entry.key, why});
            else
                bag.Set(entry.key, std::move(picture), entry.line);
            continue;
        }
        bag.Set(entry.key, std::visit([](auto&& v) -> Value { return std::move(v); }, entry.value),
                entry.line);
    }
    // A picture that could not be loaded may leave an outline without its bitmap.
    RemoveMisfits(bag, result.problems);
    std::stable_sort(result.problems.begin(), result.problems.end(),
                     [](const BagProblem& a, const BagProblem& b) { return a.line < b.line; });
    result.bag = std::move(bag);
    return result;
}

std::optional<PropertyBag> PropertyBag::Parse(const std::string& text, std::string& error,
                                              HMODULE resourceModule) {
    BagSources sources;
    sources.resourceModule = resourceModule;
    BagRead read = Read(text, sources);
    if (!read.bag) {
        error = read.error;
        return std::nullopt;
    }
    for (const BagProblem& problem : read.problems) {
        if (!problem.kept) {
            error = problem.Text();
            return std::nullopt;
        }
    }
    error.clear();
    return std::move(read.bag);
}

std::string PropertyBag::ToText(std::vector<BagProblem>* unwritten) const {
    std::string text;
    const auto skip = [&](const std::string& key, const std::string& reason) {
        text += "# " + Quoted(key) + " is not stored: " + reason + "\n";
        if (unwritten)
            unwritten->push_back(BagProblem{0, key, reason, false});
    };
    for (const Entry& entry : entries_) {
        if (!IsStorableKey(entry.key)) {
            skip(entry.key, "a key is letters, digits and _");
            continue;
        }
        const auto written = StoredValueText(entry.key, ToStored(entry.value));
        if (!written) {
            skip(entry.key, "a picture made from a bare handle has no stored form");
            continue;
        }
        text += entry.key + " = " + *written + "\n";
    }
    return text;
}

bool PropertyBag::Has(const std::string& key) const {
    return Find(key) != nullptr;
}

const PropertyBag::Value* PropertyBag::Find(const std::string& key) const {
    const auto found = index_.find(AsciiLower(key));
    return found != index_.end() ? &entries_[found->second].value : nullptr;
}

int PropertyBag::LineOf(const std::string& key) const {
    const auto found = index_.find(AsciiLower(key));
    return found != index_.end() ? entries_[found->second].line : 0;
}

void PropertyBag::Set(const std::string& key, Value value, int line) {
    std::string lower = AsciiLower(key);
    const auto [place, added] = index_.try_emplace(lower, entries_.size());
    if (added)
        entries_.push_back(Entry{std::move(lower), std::move(value), line});
    else
        entries_[place->second] = Entry{std::move(lower), std::move(value), line};
}

void PropertyBag::Remove(const std::string& key) {
    const auto found = index_.find(AsciiLower(key));
    if (found == index_.end())
        return;
    const std::size_t position = found->second;
    index_.erase(found);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
    for (std::size_t i = position; i < entries_.size(); ++i)
        index_[entries_[i].key] = i;
}

std::vector<std::string> PropertyBag::Keys() const {
    std::vector<std::string> keys;
    keys.reserve(entries_.size());
    for (const auto& entry : entries_)
        keys.push_back(entry.key);
    return keys;
}

} // namespace butt
