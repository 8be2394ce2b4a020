// Files opened for reading and their read-only mappings, over open and
// mmap. A handle is an object of this file listed in the table of live
// handles, so that a stale or foreign handle is refused rather than
// followed. munmap needs the length that UnmapViewOfFile is not given, so
// the table remembers each view's length by its address.
#include <kxplatform/fileapi.h>
#include <kxplatform/handleapi.h>
#include <kxplatform/memoryapi.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

namespace {

// An open file, or a mapping of one with the size it was made for. A
// mapping holds a descriptor of its own, so that it outlives the file
// handle it was made from, as on Windows.
struct FileObject {
    enum class Kind { File, Mapping };
    FileObject(Kind k, int descriptor, std::uint64_t bytes) : kind(k), fd(descriptor), size(bytes) {}
    FileObject(const FileObject&) = delete;
    FileObject& operator=(const FileObject&) = delete;
    ~FileObject() { close(fd); }

    Kind kind;
    int fd;
    std::uint64_t size;
};

class HandleTable {
public:
    // A handle owning fd (closed here when no handle can be made).
    HANDLE Add(FileObject::Kind kind, int fd, std::uint64_t size) {
        try {
            std::unique_ptr<FileObject> object(new FileObject(kind, fd, size));
            fd = -1;
            const std::lock_guard<std::mutex> hold(m_lock);
            FileObject* handle = object.get();
            m_objects.emplace(handle, std::move(object));
            return handle;
        } catch (const std::bad_alloc&) {
            if (fd >= 0) close(fd);
            return nullptr;
        }
    }

    // The descriptor and size of a live handle of that kind; false for
    // anything else.
    bool Find(HANDLE handle, FileObject::Kind kind, int& fd, std::uint64_t& size) {
        const std::lock_guard<std::mutex> hold(m_lock);
        const auto found = m_objects.find(handle);
        if (found == m_objects.end() || found->second->kind != kind) return false;
        fd = found->second->fd;
        size = found->second->size;
        return true;
    }

    bool Close(HANDLE handle) {
        std::unique_ptr<FileObject> closed;
        const std::lock_guard<std::mutex> hold(m_lock);
        const auto found = m_objects.find(handle);
        if (found == m_objects.end()) return false;
        closed = std::move(found->second);
        m_objects.erase(found);
        return true;
    }

    bool AddView(const void* base, std::size_t length) {
        try {
            const std::lock_guard<std::mutex> hold(m_lock);
            m_views.emplace(base, length);
            return true;
        } catch (const std::bad_alloc&) {
            return false;
        }
    }

    bool RemoveView(const void* base, std::size_t& length) {
        const std::lock_guard<std::mutex> hold(m_lock);
        const auto found = m_views.find(base);
        if (found == m_views.end()) return false;
        length = found->second;
        m_views.erase(found);
        return true;
    }

private:
    std::mutex m_lock;
    std::unordered_map<HANDLE, std::unique_ptr<FileObject>> m_objects;
    std::unordered_map<const void*, std::size_t> m_views;
};

// Never destroyed: a handle may be closed by a static destructor.
HandleTable& Table() {
    static HandleTable* table = new HandleTable;
    return *table;
}

std::uint64_t Join(DWORD high, DWORD low) {
    return (std::uint64_t{high} << 32) | low;
}

}  // namespace

HANDLE CreateFileA(const char* name, DWORD access, DWORD /*shareMode*/, SECURITY_ATTRIBUTES* /*security*/,
                   DWORD disposition, DWORD /*flagsAndAttributes*/, HANDLE templateFile) {
    if (name == nullptr || *name == '\0' || access != GENERIC_READ || disposition != OPEN_EXISTING ||
        templateFile != nullptr)
        return INVALID_HANDLE_VALUE;
    const int fd = open(name, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return INVALID_HANDLE_VALUE;
    struct stat facts {};
    if (fstat(fd, &facts) != 0 || S_ISDIR(facts.st_mode)) {
        close(fd);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE file = Table().Add(FileObject::Kind::File, fd, 0);
    return file != nullptr ? file : INVALID_HANDLE_VALUE;
}

DWORD GetFileSize(HANDLE file, DWORD* sizeHigh) {
    int fd = -1;
    std::uint64_t unused = 0;
    struct stat facts {};
    if (!Table().Find(file, FileObject::Kind::File, fd, unused) || fstat(fd, &facts) != 0 || facts.st_size < 0) {
        if (sizeHigh != nullptr) *sizeHigh = INVALID_FILE_SIZE;
        return INVALID_FILE_SIZE;
    }
    const auto size = static_cast<std::uint64_t>(facts.st_size);
    if (sizeHigh != nullptr) *sizeHigh = static_cast<DWORD>(size >> 32);
    return static_cast<DWORD>(size);
}

BOOL CloseHandle(HANDLE object) {
    return Table().Close(object) ? TRUE : FALSE;
}

HANDLE CreateFileMappingA(HANDLE file, SECURITY_ATTRIBUTES* /*attributes*/, DWORD protect, DWORD maximumSizeHigh,
                          DWORD maximumSizeLow, const char* name) {
    int fd = -1;
    std::uint64_t unused = 0;
    if (protect != PAGE_READONLY || name != nullptr || !Table().Find(file, FileObject::Kind::File, fd, unused))
        return nullptr;
    struct stat facts {};
    if (fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode) || facts.st_size <= 0) return nullptr;
    const auto fileSize = static_cast<std::uint64_t>(facts.st_size);
    const std::uint64_t size = Join(maximumSizeHigh, maximumSizeLow);
    if (size > fileSize) return nullptr;  // growing needs a file opened for writing
    const int own = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (own < 0) return nullptr;
    return Table().Add(FileObject::Kind::Mapping, own, size == 0 ? fileSize : size);
}

void* MapViewOfFile(HANDLE mapping, DWORD desiredAccess, DWORD fileOffsetHigh, DWORD fileOffsetLow, size_t bytesToMap) {
    int fd = -1;
    std::uint64_t size = 0;
    if (desiredAccess != FILE_MAP_READ || !Table().Find(mapping, FileObject::Kind::Mapping, fd, size)) return nullptr;
    const std::uint64_t offset = Join(fileOffsetHigh, fileOffsetLow);
    if (offset % KX_ALLOCATION_GRANULARITY != 0 || offset >= size) return nullptr;
    const std::uint64_t length = bytesToMap == 0 ? size - offset : bytesToMap;
    if (length > size - offset || length > std::numeric_limits<std::size_t>::max() ||
        offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
        return nullptr;
    void* view =
        mmap(nullptr, static_cast<std::size_t>(length), PROT_READ, MAP_PRIVATE, fd, static_cast<off_t>(offset));
    if (view == MAP_FAILED) return nullptr;
    if (!Table().AddView(view, static_cast<std::size_t>(length))) {
        munmap(view, static_cast<std::size_t>(length));
        return nullptr;
    }
    return view;
}

BOOL UnmapViewOfFile(const void* baseAddress) {
    std::size_t length = 0;
    if (!Table().RemoveView(baseAddress, length)) return FALSE;
    return munmap(const_cast<void*>(baseAddress), length) == 0 ? TRUE : FALSE;
}
