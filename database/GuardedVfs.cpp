#include "database/GuardedVfs.h"

#include <QFile>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>

namespace Velmar {

namespace {

const char vfsName[] = "velmar-guarded";

std::atomic<GuardedVfs::ReadHook> readHook{nullptr};

// False when the test's hook fails the read.
bool hookLetsThrough(const char *path)
{
    const GuardedVfs::ReadHook hook = readHook.load(std::memory_order_relaxed);
    return !hook || hook(path);
}

// What a file looks like from outside: enough to tell that somebody wrote,
// replaced, created or removed it.
struct Look {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    mode_t mode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const Look &other) const
    {
        return exists == other.exists && device == other.device && inode == other.inode && mode == other.mode
            && size == other.size && modified.tv_sec == other.modified.tv_sec
            && modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec
            && changed.tv_nsec == other.changed.tv_nsec;
    }
};

Look lookOf(const struct stat &info)
{
    Look look;
    look.exists = true;
    look.device = info.st_dev;
    look.inode = info.st_ino;
    look.mode = info.st_mode;
    look.size = info.st_size;
    look.modified = info.st_mtim;
    look.changed = info.st_ctim;
    return look;
}

Look lookOf(const std::string &path)
{
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        return Look();
    return lookOf(info);
}

bool isRegularFile(const char *path)
{
    struct stat info;
    return ::lstat(path, &info) == 0 && S_ISREG(info.st_mode);
}

// One open file: ours in front, SQLite's own file behind it in the same
// allocation.
struct GuardedFile {
    sqlite3_file base;
    sqlite3_file *real;
    // Main database, journal and log: nothing is written through them.
    bool readOnly;
    // Read without the locks that would keep a writer off what SQLite keeps
    // of it: each read is checked, after it, against the looks at the open.
    bool guarded;
    // Locks above shared are granted without being taken.
    bool sharedAtMost;
    bool changed;
    // A journal or a log, read by us: never created, never followed as a
    // link, never waited for as a pipe, never given another owner (which
    // SQLite's own layer does, run as root). -1 for the others.
    int descriptor;
    // As SQLite named it; it outlives the file.
    const char *path;
    std::string *paths; // the file, its "-wal" and its "-shm"
    Look *looks;        // of each, at the open
};

sqlite3_vfs *realVfs(sqlite3_vfs *vfs)
{
    return static_cast<sqlite3_vfs *>(vfs->pAppData);
}

GuardedFile *guarded(sqlite3_file *file)
{
    return reinterpret_cast<GuardedFile *>(file);
}

void releaseGuard(GuardedFile *self)
{
    delete[] self->paths;
    delete[] self->looks;
    self->paths = nullptr;
    self->looks = nullptr;
}

bool stillAsOpened(GuardedFile *file)
{
    if (file->changed)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (!(lookOf(file->paths[i]) == file->looks[i])) {
            // Once changed, never trusted again: what SQLite keeps of the
            // file may already mix the two.
            file->changed = true;
            return false;
        }
    }
    return true;
}

int guardedClose(sqlite3_file *file)
{
    GuardedFile *const self = guarded(file);
    int result = SQLITE_OK;
    if (self->real->pMethods)
        result = self->real->pMethods->xClose(self->real);
    releaseGuard(self);
    return result;
}

int guardedRead(sqlite3_file *file, void *buffer, int amount, sqlite3_int64 offset)
{
    GuardedFile *const self = guarded(file);
    const int result = self->real->pMethods->xRead(self->real, buffer, amount, offset);
    if (!hookLetsThrough(self->path))
        return SQLITE_IOERR_READ;
    // After the read, not before: bytes read while a writer changed the file
    // are refused too.
    if (self->guarded && !stillAsOpened(self))
        return SQLITE_IOERR_READ;
    return result;
}

int guardedWrite(sqlite3_file *file, const void *buffer, int amount, sqlite3_int64 offset)
{
    GuardedFile *const self = guarded(file);
    if (self->readOnly)
        return SQLITE_READONLY;
    return self->real->pMethods->xWrite(self->real, buffer, amount, offset);
}

int guardedTruncate(sqlite3_file *file, sqlite3_int64 size)
{
    GuardedFile *const self = guarded(file);
    if (self->readOnly)
        return SQLITE_READONLY;
    return self->real->pMethods->xTruncate(self->real, size);
}

int guardedSync(sqlite3_file *file, int flags)
{
    GuardedFile *const self = guarded(file);
    if (self->readOnly)
        return SQLITE_OK;
    return self->real->pMethods->xSync(self->real, flags);
}

int guardedFileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    GuardedFile *const self = guarded(file);
    return self->real->pMethods->xFileSize(self->real, size);
}

int guardedLock(sqlite3_file *file, int level)
{
    GuardedFile *const self = guarded(file);
    return self->real->pMethods->xLock(self->real, self->sharedAtMost ? qMin(level, SQLITE_LOCK_SHARED) : level);
}

int guardedUnlock(sqlite3_file *file, int level)
{
    GuardedFile *const self = guarded(file);
    return self->real->pMethods->xUnlock(self->real, self->sharedAtMost ? qMin(level, SQLITE_LOCK_SHARED) : level);
}

int guardedCheckReservedLock(sqlite3_file *file, int *result)
{
    GuardedFile *const self = guarded(file);
    return self->real->pMethods->xCheckReservedLock(self->real, result);
}

int guardedFileControl(sqlite3_file *file, int operation, void *argument)
{
    GuardedFile *const self = guarded(file);
    return self->real->pMethods->xFileControl(self->real, operation, argument);
}

int guardedSectorSize(sqlite3_file *file)
{
    GuardedFile *const self = guarded(file);
    return self->real->pMethods->xSectorSize(self->real);
}

int guardedDeviceCharacteristics(sqlite3_file *file)
{
    GuardedFile *const self = guarded(file);
    return self->real->pMethods->xDeviceCharacteristics(self->real);
}

int guardedShmMap(sqlite3_file *file, int region, int size, int extend, void volatile **mapped)
{
    GuardedFile *const self = guarded(file);
    return self->real->pMethods->xShmMap(self->real, region, size, extend, mapped);
}

int guardedShmLock(sqlite3_file *file, int offset, int count, int flags)
{
    GuardedFile *const self = guarded(file);
    return self->real->pMethods->xShmLock(self->real, offset, count, flags);
}

void guardedShmBarrier(sqlite3_file *file)
{
    GuardedFile *const self = guarded(file);
    self->real->pMethods->xShmBarrier(self->real);
}

int guardedShmUnmap(sqlite3_file *file, int deleteIndex)
{
    Q_UNUSED(deleteIndex) // the writer's index is the writer's to remove
    GuardedFile *const self = guarded(file);
    return self->real->pMethods->xShmUnmap(self->real, 0);
}

// Version 1: no shared memory and no memory mapping. Without shared memory
// SQLite refuses the write-ahead-log mode rather than creating its files,
// unless the connection keeps the log's index in its own memory.
const sqlite3_io_methods guardedMethods = {
    1,
    guardedClose,
    guardedRead,
    guardedWrite,
    guardedTruncate,
    guardedSync,
    guardedFileSize,
    guardedLock,
    guardedUnlock,
    guardedCheckReservedLock,
    guardedFileControl,
    guardedSectorSize,
    guardedDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

// Version 2: the writer's index, which SQLite's own layer maps read-only.
sqlite3_io_methods withSharedIndex(sqlite3_io_methods methods)
{
    methods.iVersion = 2;
    methods.xShmMap = guardedShmMap;
    methods.xShmLock = guardedShmLock;
    methods.xShmBarrier = guardedShmBarrier;
    methods.xShmUnmap = guardedShmUnmap;
    return methods;
}

const sqlite3_io_methods sharedIndexMethods = withSharedIndex(guardedMethods);

// A journal or a log beside the file. SQLite locks neither, so a descriptor
// of ours drops no lock when it closes.
// A log read with an index of our own: no writer may come to it, which it
// would do with an index beside it, and the log itself must not change. What
// lies under its name meanwhile is not what the descriptor reads; the next
// use opens that. Two calls a read, as SQLite reads a log frame by frame.
bool logStillAsOpened(GuardedFile *file)
{
    if (file->changed)
        return false;
    if (!(lookOf(file->paths[2]) == file->looks[2])) {
        file->changed = true;
        return false;
    }
    return true;
}

int neighbourClose(sqlite3_file *file)
{
    GuardedFile *const self = guarded(file);
    const int result = ::close(self->descriptor) == 0 ? SQLITE_OK : SQLITE_IOERR_CLOSE;
    self->descriptor = -1;
    releaseGuard(self);
    return result;
}

// SQLite builds its index of a log by reading the log's header and then
// every frame whole, a page and its frame header; pages themselves are read
// without their frame header. Those reads go into the index alone, and each
// page then read through the index is checked: a change while the index
// was built fails that read, and the index is never trusted again.
bool readsTheLogForItsIndex(int amount, sqlite3_int64 offset)
{
    const int logHeaderSize = 32;
    const int frameHeaderSize = 24;
    if (offset == 0 && amount == logHeaderSize)
        return true;
    const int pageSize = amount - frameHeaderSize;
    return pageSize >= 512 && pageSize <= 65536 && (pageSize & (pageSize - 1)) == 0 && offset >= logHeaderSize
        && (offset - logHeaderSize) % amount == 0;
}

int neighbourRead(sqlite3_file *file, void *buffer, int amount, sqlite3_int64 offset)
{
    GuardedFile *const self = guarded(file);
    char *const bytes = static_cast<char *>(buffer);
    int got = 0;
    while (got < amount) {
        const ssize_t read = ::pread(self->descriptor, bytes + got, size_t(amount - got), off_t(offset + got));
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            return SQLITE_IOERR_READ;
        if (read == 0)
            break;
        got += int(read);
    }
    if (!hookLetsThrough(self->path))
        return SQLITE_IOERR_READ;
    if (self->guarded && !readsTheLogForItsIndex(amount, offset) && !logStillAsOpened(self))
        return SQLITE_IOERR_READ;
    if (got < amount) {
        // As SQLite's own layer leaves a read past the end.
        std::memset(bytes + got, 0, size_t(amount - got));
        return SQLITE_IOERR_SHORT_READ;
    }
    return SQLITE_OK;
}

int neighbourWrite(sqlite3_file *, const void *, int, sqlite3_int64)
{
    return SQLITE_READONLY;
}

int neighbourTruncate(sqlite3_file *, sqlite3_int64)
{
    return SQLITE_READONLY;
}

int neighbourSync(sqlite3_file *, int)
{
    return SQLITE_OK;
}

int neighbourFileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    struct stat info;
    if (::fstat(guarded(file)->descriptor, &info) != 0)
        return SQLITE_IOERR_FSTAT;
    *size = sqlite3_int64(info.st_size);
    return SQLITE_OK;
}

int neighbourLock(sqlite3_file *, int)
{
    return SQLITE_OK;
}

int neighbourCheckReservedLock(sqlite3_file *, int *result)
{
    *result = 0;
    return SQLITE_OK;
}

int neighbourFileControl(sqlite3_file *, int, void *)
{
    return SQLITE_NOTFOUND;
}

int neighbourSectorSize(sqlite3_file *)
{
    return 4096;
}

int neighbourDeviceCharacteristics(sqlite3_file *)
{
    return 0;
}

const sqlite3_io_methods neighbourMethods = {
    1,
    neighbourClose,
    neighbourRead,
    neighbourWrite,
    neighbourTruncate,
    neighbourSync,
    neighbourFileSize,
    neighbourLock,
    neighbourLock,
    neighbourCheckReservedLock,
    neighbourFileControl,
    neighbourSectorSize,
    neighbourDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

// Opens a journal or a log to read; SQLITE_CANTOPEN when it is not a regular
// file.
int openNeighbour(GuardedFile *self, const char *name, int *outFlags)
{
    const int descriptor = ::open(name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return SQLITE_CANTOPEN;
    struct stat info;
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return SQLITE_CANTOPEN;
    }
    self->descriptor = descriptor;
    if (outFlags)
        *outFlags = SQLITE_OPEN_READONLY;
    return SQLITE_OK;
}

bool watchLooks(GuardedFile *self, const char *database)
{
    self->paths = new (std::nothrow) std::string[3];
    self->looks = new (std::nothrow) Look[3];
    if (!self->paths || !self->looks) {
        releaseGuard(self);
        return false;
    }
    self->paths[0] = database;
    self->paths[1] = std::string(database) + "-wal";
    self->paths[2] = std::string(database) + "-shm";
    for (int i = 0; i < 3; ++i)
        self->looks[i] = lookOf(self->paths[i]);
    return true;
}

const char ownLogName[] = "velmar_own_log_index";

int guardedOpen(sqlite3_vfs *vfs, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    GuardedFile *const self = guarded(file);
    std::memset(self, 0, sizeof(GuardedFile));
    self->real = reinterpret_cast<sqlite3_file *>(self + 1);
    self->descriptor = -1;
    self->path = name;
    const bool mainDatabase = flags & SQLITE_OPEN_MAIN_DB;
    const bool journal = flags & SQLITE_OPEN_MAIN_JOURNAL;
    const bool log = flags & SQLITE_OPEN_WAL;
    if (flags & SQLITE_OPEN_SUPER_JOURNAL)
        return SQLITE_CANTOPEN;
    // The URI of the connection; the names of its journal and log carry it.
    const char *const database = mainDatabase ? name : journal || log ? sqlite3_filename_database(name) : nullptr;
    const bool sharedIndex = database && sqlite3_uri_boolean(database, "readonly_shm", 0);
    const bool ownIndex = database && sqlite3_uri_boolean(database, ownLogName, 0);
    // A log only where the connection asked for one.
    if (log && !sharedIndex && !ownIndex)
        return SQLITE_CANTOPEN;
    self->readOnly = mainDatabase || journal || log;
    self->guarded = (mainDatabase && sqlite3_uri_boolean(name, "immutable", 0)) || ((mainDatabase || log) && ownIndex);
    self->sharedAtMost = mainDatabase && ownIndex;
    if (self->guarded && !watchLooks(self, database))
        return SQLITE_NOMEM;
    if (journal || log) {
        const int result = openNeighbour(self, name, outFlags);
        if (result != SQLITE_OK) {
            releaseGuard(self);
            return result;
        }
        file->pMethods = &neighbourMethods;
        return SQLITE_OK;
    }
    if (mainDatabase)
        flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE)) | SQLITE_OPEN_READONLY;
    const int result = realVfs(vfs)->xOpen(realVfs(vfs), name, self->real, flags, outFlags);
    if (result != SQLITE_OK) {
        // A file layer may leave its file to be closed also when it failed.
        if (self->real->pMethods)
            self->real->pMethods->xClose(self->real);
        releaseGuard(self);
        return result;
    }
    file->pMethods = mainDatabase && sharedIndex ? &sharedIndexMethods : &guardedMethods;
    return SQLITE_OK;
}

int guardedDelete(sqlite3_vfs *, const char *, int)
{
    // Nothing beside a collection file is ours to remove.
    return SQLITE_IOERR_DELETE;
}

int guardedAccess(sqlite3_vfs *vfs, const char *name, int flags, int *result)
{
    return realVfs(vfs)->xAccess(realVfs(vfs), name, flags, result);
}

int guardedFullPathname(sqlite3_vfs *vfs, const char *name, int size, char *out)
{
    return realVfs(vfs)->xFullPathname(realVfs(vfs), name, size, out);
}

void *guardedDlOpen(sqlite3_vfs *vfs, const char *name)
{
    return realVfs(vfs)->xDlOpen(realVfs(vfs), name);
}

void guardedDlError(sqlite3_vfs *vfs, int size, char *message)
{
    realVfs(vfs)->xDlError(realVfs(vfs), size, message);
}

void (*guardedDlSym(sqlite3_vfs *vfs, void *library, const char *symbol))(void)
{
    return realVfs(vfs)->xDlSym(realVfs(vfs), library, symbol);
}

void guardedDlClose(sqlite3_vfs *vfs, void *library)
{
    realVfs(vfs)->xDlClose(realVfs(vfs), library);
}

int guardedRandomness(sqlite3_vfs *vfs, int size, char *out)
{
    return realVfs(vfs)->xRandomness(realVfs(vfs), size, out);
}

int guardedSleep(sqlite3_vfs *vfs, int microseconds)
{
    return realVfs(vfs)->xSleep(realVfs(vfs), microseconds);
}

int guardedCurrentTime(sqlite3_vfs *vfs, double *now)
{
    return realVfs(vfs)->xCurrentTime(realVfs(vfs), now);
}

int guardedGetLastError(sqlite3_vfs *vfs, int size, char *message)
{
    return realVfs(vfs)->xGetLastError ? realVfs(vfs)->xGetLastError(realVfs(vfs), size, message) : 0;
}

int guardedCurrentTimeInt64(sqlite3_vfs *vfs, sqlite3_int64 *now)
{
    return realVfs(vfs)->xCurrentTimeInt64(realVfs(vfs), now);
}

sqlite3_vfs *registeredVfs()
{
    static sqlite3_vfs vfs;
    static std::once_flag registered;
    std::call_once(registered, [] {
        sqlite3_initialize();
        sqlite3_vfs *const real = sqlite3_vfs_find(nullptr);
        std::memset(&vfs, 0, sizeof vfs);
        vfs.iVersion = 2;
        vfs.szOsFile = int(sizeof(GuardedFile)) + real->szOsFile;
        vfs.mxPathname = real->mxPathname;
        vfs.zName = vfsName;
        vfs.pAppData = real;
        vfs.xOpen = guardedOpen;
        vfs.xDelete = guardedDelete;
        vfs.xAccess = guardedAccess;
        vfs.xFullPathname = guardedFullPathname;
        vfs.xDlOpen = guardedDlOpen;
        vfs.xDlError = guardedDlError;
        vfs.xDlSym = guardedDlSym;
        vfs.xDlClose = guardedDlClose;
        vfs.xRandomness = guardedRandomness;
        vfs.xSleep = guardedSleep;
        vfs.xCurrentTime = guardedCurrentTime;
        vfs.xGetLastError = guardedGetLastError;
        vfs.xCurrentTimeInt64 = guardedCurrentTimeInt64;
        sqlite3_vfs_register(&vfs, 0);
    });
    return &vfs;
}

// A file opened read-only through SQLite's default file layer, closed with it.
class LockKeepingFile
{
public:
    explicit LockKeepingFile(const QString &filePath)
    {
        sqlite3_initialize();
        m_vfs = sqlite3_vfs_find(nullptr);
        if (!isRegularFile(QFile::encodeName(filePath).constData()))
            return;
        m_file.reset(static_cast<sqlite3_file *>(::operator new(size_t(m_vfs->szOsFile), std::nothrow)));
        if (!m_file)
            return;
        std::memset(m_file.get(), 0, size_t(m_vfs->szOsFile));
        // The name must stay valid until the file is closed.
        m_name = QFile::encodeName(filePath);
        int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_MAIN_DB;
        if (m_vfs->xOpen(m_vfs, m_name.constData(), m_file.get(), flags, &flags) != SQLITE_OK) {
            if (m_file->pMethods)
                m_file->pMethods->xClose(m_file.get());
            m_file.reset();
        }
    }
    ~LockKeepingFile()
    {
        if (m_file && m_file->pMethods)
            m_file->pMethods->xClose(m_file.get());
    }
    LockKeepingFile(const LockKeepingFile &) = delete;
    LockKeepingFile &operator=(const LockKeepingFile &) = delete;

    bool isOpen() const { return m_file != nullptr; }

    sqlite3_int64 size() const
    {
        sqlite3_int64 size = -1;
        if (!m_file || m_file->pMethods->xFileSize(m_file.get(), &size) != SQLITE_OK)
            return -1;
        return size;
    }

    // Reads exactly `length` bytes at `offset`; false on an error or a short
    // read.
    bool read(char *buffer, int length, sqlite3_int64 offset) const
    {
        return m_file && m_file->pMethods->xRead(m_file.get(), buffer, length, offset) == SQLITE_OK;
    }

private:
    struct OperatorDelete {
        void operator()(sqlite3_file *file) const { ::operator delete(file); }
    };
    sqlite3_vfs *m_vfs = nullptr;
    QByteArray m_name;
    std::unique_ptr<sqlite3_file, OperatorDelete> m_file;
};

} // namespace

const char *GuardedVfs::name()
{
    return registeredVfs()->zName;
}

void GuardedVfs::setReadHook(ReadHook hook)
{
    readHook.store(hook);
}

const char *GuardedVfs::ownLogParameter()
{
    return ownLogName;
}

QByteArray GuardedVfs::readPrefix(const QString &filePath, int length)
{
    const LockKeepingFile file(filePath);
    const sqlite3_int64 size = file.size();
    if (size <= 0)
        return QByteArray();
    QByteArray prefix(int(qMin<sqlite3_int64>(size, length)), Qt::Uninitialized);
    if (!file.read(prefix.data(), int(prefix.size()), 0))
        return QByteArray();
    return prefix;
}

} // namespace Velmar
