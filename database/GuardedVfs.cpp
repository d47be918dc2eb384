#include "database/GuardedVfs.h"

#include <QFile>

#include <sqlite3.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>

namespace Velmar {

namespace {

const char vfsName[] = "velmar-guarded";

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

Look lookOf(const std::string &path)
{
    Look look;
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0)
        return look;
    look.exists = true;
    look.device = info.st_dev;
    look.inode = info.st_ino;
    look.mode = info.st_mode;
    look.size = info.st_size;
    look.modified = info.st_mtim;
    look.changed = info.st_ctim;
    return look;
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
    // Main database and journal: nothing is written through them.
    bool readOnly;
    // An immutable main database: SQLite takes no lock and trusts what it
    // read before, so each read checks the file and its neighbours first.
    bool immutable;
    bool changed;
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

bool stillAsOpened(GuardedFile *file)
{
    if (file->changed)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (!(lookOf(file->paths[i]) == file->looks[i])) {
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
    delete[] self->paths;
    delete[] self->looks;
    self->paths = nullptr;
    self->looks = nullptr;
    return result;
}

int guardedRead(sqlite3_file *file, void *buffer, int amount, sqlite3_int64 offset)
{
    GuardedFile *const self = guarded(file);
    if (self->immutable && !stillAsOpened(self))
        return SQLITE_IOERR_READ;
    return self->real->pMethods->xRead(self->real, buffer, amount, offset);
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
    return self->real->pMethods->xLock(self->real, level);
}

int guardedUnlock(sqlite3_file *file, int level)
{
    GuardedFile *const self = guarded(file);
    return self->real->pMethods->xUnlock(self->real, level);
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

// Version 1: no shared memory and no memory mapping. Without shared memory
// SQLite refuses the write-ahead-log mode rather than creating its files.
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

int guardedOpen(sqlite3_vfs *vfs, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    GuardedFile *const self = guarded(file);
    std::memset(self, 0, sizeof(GuardedFile));
    self->real = reinterpret_cast<sqlite3_file *>(self + 1);
    const bool mainDatabase = flags & SQLITE_OPEN_MAIN_DB;
    const bool journal = flags & SQLITE_OPEN_MAIN_JOURNAL;
    if (flags & (SQLITE_OPEN_WAL | SQLITE_OPEN_SUPER_JOURNAL))
        return SQLITE_CANTOPEN;
    if (mainDatabase || journal) {
        // A pipe or a device under a journal's name would block the open.
        if (journal && !isRegularFile(name))
            return SQLITE_CANTOPEN;
        flags = (flags & ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE)) | SQLITE_OPEN_READONLY;
    }
    const int result = realVfs(vfs)->xOpen(realVfs(vfs), name, self->real, flags, outFlags);
    if (result != SQLITE_OK) {
        // A file layer may leave its file to be closed also when it failed.
        if (self->real->pMethods)
            self->real->pMethods->xClose(self->real);
        return result;
    }
    self->readOnly = mainDatabase || journal;
    self->immutable = mainDatabase && sqlite3_uri_boolean(name, "immutable", 0);
    if (self->immutable) {
        self->paths = new (std::nothrow) std::string[3];
        self->looks = new (std::nothrow) Look[3];
        if (!self->paths || !self->looks) {
            self->real->pMethods->xClose(self->real);
            delete[] self->paths;
            delete[] self->looks;
            return SQLITE_NOMEM;
        }
        self->paths[0] = name;
        self->paths[1] = std::string(name) + "-wal";
        self->paths[2] = std::string(name) + "-shm";
        for (int i = 0; i < 3; ++i)
            self->looks[i] = lookOf(self->paths[i]);
    }
    file->pMethods = &guardedMethods;
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

bool GuardedVfs::copyTo(const QString &filePath, const QString &destination)
{
    const LockKeepingFile file(filePath);
    const sqlite3_int64 size = file.size();
    if (size < 0)
        return false;
    QFile out(destination);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const int chunk = 1 << 20;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[chunk]);
    if (!buffer)
        return false;
    for (sqlite3_int64 offset = 0; offset < size; offset += chunk) {
        const int length = int(qMin<sqlite3_int64>(chunk, size - offset));
        if (!file.read(buffer.get(), length, offset) || out.write(buffer.get(), length) != length)
            return false;
    }
    return out.flush();
}

} // namespace Velmar
