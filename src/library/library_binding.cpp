// Binding the imaging library's entry points by name, and the stubbed-library flags.
#include "library/library_binding.h"

#include "platform/ui.h"

namespace qvi {

namespace {

int rxLibraryStubbed = 1;
int pxLibraryStubbed = 1;

constexpr std::size_t kPlatformEntriesStart = kLibraryEntryCount + kExtraEntryCount;

}  // namespace

int RxLibraryStubbed() {
    return rxLibraryStubbed;
}

int PxLibraryStubbed() {
    return pxLibraryStubbed;
}

void SetRxLibraryStubbed(int stubbed) {
    rxLibraryStubbed = stubbed;
}

void SetPxLibraryStubbed(int stubbed) {
    pxLibraryStubbed = stubbed;
}

LibraryBinding::LibraryBinding(LibraryLoader &loader, const LibraryFiles &files, int &error,
                               const BindingEnvironment &environment)
    : loader_(loader) {
    error_ = Bind(files, environment);
    error = error_;
}

LibraryBinding::~LibraryBinding() {
    for (LibraryHandle handle : {px_, rx_, core_})
        if (handle) loader_.Free(handle);
}

int LibraryBinding::Bind(const LibraryFiles &files, const BindingEnvironment &environment) {
    coreDllName_ = files.core;
    rxDllName_ = environment.fileExists(files.rx) ? files.rx : std::string();
    pxDllName_ = environment.fileExists(files.px) ? files.px : std::string();
    SetRxLibraryStubbed(1);
    SetPxLibraryStubbed(1);

    if (!LoadFile(coreDllName_, "Core", core_)) return -1;
    if (!rxDllName_.empty() && !LoadFile(rxDllName_, "RX", rx_)) return -1;
    if (!pxDllName_.empty() && !LoadFile(pxDllName_, "PX", px_)) return -1;
    // Each optional library proves it is the real one by one entry of its own.
    SetRxLibraryStubbed(rx_ && loader_.Symbol(rx_, "rx57_dregs") ? 0 : 1);
    SetPxLibraryStubbed(px_ && loader_.Symbol(px_, "px_done") ? 0 : 1);

    LookupEntries(0, kLibraryEntryCount, false);
    LookupEntries(kLibraryEntryCount, kExtraEntryCount, true);
    int result = 0;
    for (std::size_t i = 0; i < kLibraryEntryCount; ++i)
        if (kEntryTable[i].required && !entries_[i]) result = -1;

    // The check runs even when a required entry is missing: the library then
    // still has its error level set.
    if (auto errLevel = Entry<&::qrx_err_level>()) {
        errLevel(1);
        CheckVersions(environment.programFiles);
        errLevel(2);
    }
    return result;
}

bool LibraryBinding::LoadFile(const std::string &name, const char *kind, LibraryHandle &handle) {
    handle = loader_.Load(name, loadError_);
    if (!handle) ReportError(MessageText("Can't Load ", kind, " QUAR DLL: ", name));
    return handle != nullptr;
}

void *LibraryBinding::Search(const char *name) const {
    for (LibraryHandle library : {core_, rx_, px_}) {
        if (!library) continue;
        if (void *address = loader_.Symbol(library, name)) return address;
    }
    return nullptr;
}

void LibraryBinding::LookupEntries(std::size_t first, std::size_t count, bool quiet) {
    for (std::size_t i = first; i < first + count; ++i) {
        const std::string name(kEntryTable[i].name);
        entries_[i] = quiet ? Search(name.c_str()) : Lookup(name);
    }
}

void LibraryBinding::CheckVersions(const std::vector<VersionedFile> &programFiles) {
    const std::pair<const std::string &, LibraryHandle> libraries[] = {
        {coreDllName_, core_}, {rxDllName_, rx_}, {pxDllName_, px_}};
    std::vector<VersionedFile> files;
    for (const auto &[name, handle] : libraries)
        if (handle) files.push_back({name, loader_.FilePath(handle)});
    files.insert(files.end(), programFiles.begin(), programFiles.end());
    CheckProductVersions(files);
}

bool LibraryBinding::LookupPlatformEntries() {
    LookupEntries(kPlatformEntriesStart, kPlatformEntryCount, false);
    for (std::size_t i = kPlatformEntriesStart; i < kEntryTable.size(); ++i)
        if (!entries_[i]) return false;
    return true;
}

void *LibraryBinding::Lookup(const std::string &name) {
    void *address = Search(name.c_str());
    if (!address) ReportError(MessageText("QUAR Function not found: ", name));
    return address;
}

std::filesystem::path LibraryBinding::CoreFilePath() const {
    return core_ ? loader_.FilePath(core_) : std::filesystem::path();
}

void *LibraryBinding::Address(std::string_view name) const {
    const std::size_t index = EntryIndex(name);
    return index < entries_.size() ? entries_[index] : nullptr;
}

std::string_view LibraryBinding::FirstMissing(std::initializer_list<std::string_view> names) const {
    for (std::string_view name : names)
        if (Address(name) == nullptr) return name;
    return {};
}

int LibraryBinding::WriteReg16(std::uint32_t handle, int reg, std::uint16_t value) {
    auto write = Entry<&::write_reg>();
    return write ? write(handle, reg, value) : -1;
}

bool LibraryBinding::HasWriteReg32() const {
    return Entry<&::write_reg32>() != nullptr;
}

int LibraryBinding::WriteReg32(std::uint32_t handle, int reg, std::uint32_t value) {
    auto write = Entry<&::write_reg32>();
    return write ? write(handle, reg, value) : -1;
}

std::int16_t LibraryBinding::ReadReg16(std::uint32_t handle, int reg) {
    auto read = Entry<&::read_reg>();
    return read ? read(handle, reg) : std::int16_t{0};
}

bool LibraryBinding::HasReadReg32() const {
    return Entry<&::read_reg32>() != nullptr;
}

std::uint32_t LibraryBinding::ReadReg32(std::uint32_t handle, int reg) {
    auto read = Entry<&::read_reg32>();
    return read ? read(handle, reg) : 0u;
}

}  // namespace qvi
