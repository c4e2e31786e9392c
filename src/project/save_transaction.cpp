#include "project/save_transaction.h"

#include "project/temporary_files.h"
#include "project/write_error.h"

#include <set>

namespace qasp {
namespace {

namespace fs = std::filesystem;

// One file of the save on its way. A temporary path that is not empty names
// a file that exists under that name.
struct Entry {
    const FileWrite *write = nullptr;
    bool existed = false;
    // A file with several hard links is written over in place, so that all
    // its names keep sharing it; its old content is kept as a copy.
    bool inPlace = false;
    std::string oldBytes;  // in place: what to put back
    fs::perms perms = fs::perms::unknown;
    fs::path newTemp;     // the new content
    fs::path oldKept;     // the old content, while it may be wanted back
    fs::path backupTemp;  // the backup, before it has its name
    fs::path backupName;
    bool replaced = false;
    bool backupPlaced = false;
};

const std::string kNoBackup = "无法保留原文件为 .bak：";

[[noreturn]] void Fail(const fs::path &path, const std::string &why)
{
    throw WriteError("无法写入文件 " + path.string() + "：" + why);
}

class Transaction {
public:
    Transaction(const std::vector<FileWrite> &writes, FileOperations &files) : files_(files)
    {
        for (const FileWrite &w : writes) {
            entries_.emplace_back().write = &w;
            taken_.insert(w.path);
        }
    }

    WriteReport Run()
    {
        WriteReport report;
        for (const fs::path &dir : Folders())
            for (fs::path &stale : RemoveStaleTemporaryFiles(dir, files_))
                report.staleRemoved.push_back(std::move(stale));
        try {
            for (Entry &e : entries_)
                Prepare(e);
            Commit();
        } catch (const WriteError &e) {
            const std::string notRestored = RollBack();
            throw WriteError(e.what() + notRestored);
        } catch (...) {
            RollBack();
            throw;
        }
        for (Entry &e : entries_) {
            if (!e.oldKept.empty())
                files_.Remove(e.oldKept);  // one left behind goes with a later save
            // The copy that kept an in-place file's old content is no backup
            // unless one was asked for.
            if (e.inPlace && !e.write->backup && e.backupPlaced && !files_.Remove(e.backupName))
                continue;
            if (e.backupPlaced)
                report.backups.push_back({e.write->path, e.backupName});
        }
        report.notices = std::move(notices_);
        return report;
    }

private:
    std::set<fs::path> Folders() const
    {
        std::set<fs::path> dirs;
        for (const Entry &e : entries_)
            dirs.insert(e.write->path.parent_path());
        for (const fs::path &dir : createdDirs_)
            dirs.insert(dir.parent_path());
        return dirs;
    }

    void Prepare(Entry &e)
    {
        const fs::path &path = e.write->path;
        FileInfo info;
        if (const std::error_code error = files_.Status(path, info))
            Fail(path, error.message());
        if (info.type == fs::file_type::directory)
            Fail(path, "该位置是一个目录");
        e.existed = info.type != fs::file_type::not_found;
        if (e.existed && info.type != fs::file_type::regular)
            Fail(path, "不是普通文件");
        // Renaming over it would succeed, but its owner meant it to stay.
        if (e.existed && (info.perms & fs::perms::owner_write) == fs::perms::none)
            Fail(path, "文件是只读的");
        e.perms = e.existed ? info.perms : fs::perms::unknown;
        e.inPlace = e.existed && info.links > 1;
        if (e.inPlace)
            return PrepareInPlace(e);

        MakeFolder(path.parent_path());
        fs::path temp;
        if (const std::error_code error = CreateTemporary(
                path, temp, [&](const fs::path &p) { return files_.CreateFile(p, e.write->bytes, e.perms); }))
            Fail(path, error.message());
        e.newTemp = temp;
        // The new file replaces the old one under its name: it takes over
        // its owner, group and attributes, or the user hears why not.
        if (e.existed)
            if (const std::error_code error = files_.CopyOwnerAndAttributes(path, e.newTemp))
                notices_.push_back("文件 " + path.string() + " 未能保留原有的所有者、组或扩展属性："
                                   + error.message());
        if (const std::error_code error = files_.Sync(e.newTemp))
            Fail(path, error.message());
        if (!e.existed)
            return;
        e.oldKept = KeepOldContent(e, "无法保留原文件：");
        if (e.write->backup) {
            e.backupName = FreeBackupName(path);
            e.backupTemp = KeepOldContent(e, kNoBackup);
        }
    }

    // The old content is copied under a backup's name before the file is
    // written over: should the save be killed half way, the copy is still
    // there, where no later save takes it for a stale temporary file.
    void PrepareInPlace(Entry &e)
    {
        const fs::path &path = e.write->path;
        if (const std::error_code error = files_.Read(path, e.oldBytes))
            Fail(path, "无法保留原文件：" + error.message());
        e.backupName = FreeBackupName(path);
        fs::path temp;
        if (const std::error_code error = CreateTemporary(
                path, temp, [&](const fs::path &p) { return files_.CreateFile(p, e.oldBytes, e.perms); }))
            Fail(path, kNoBackup + error.message());
        files_.CopyOwnerAndAttributes(path, temp);
        if (const std::error_code error = files_.Sync(temp)) {
            files_.Remove(temp);
            Fail(path, kNoBackup + error.message());
        }
        e.backupTemp = temp;
    }

    void MakeFolder(const fs::path &dir)
    {
        FileInfo info;
        if (const std::error_code error = files_.Status(dir, info))
            Fail(dir, error.message());
        if (info.type != fs::file_type::not_found)
            return;  // a file in its way makes the temporary file fail
        MakeFolder(dir.parent_path());
        if (const std::error_code error = files_.MakeDirectory(dir))
            Fail(dir, "无法建立目录：" + error.message());
        createdDirs_.push_back(dir);
    }

    // The old file under a temporary name: a second link to it where the
    // file system allows, otherwise a synced copy of its bytes.
    fs::path KeepOldContent(const Entry &e, const std::string &failure)
    {
        const fs::path &path = e.write->path;
        fs::path temp;
        if (!CreateTemporary(path, temp, [&](const fs::path &p) { return files_.Link(path, p); }))
            return temp;
        std::string old;
        if (const std::error_code error = files_.Read(path, old))
            Fail(path, failure + error.message());
        if (const std::error_code error = CreateTemporary(
                path, temp, [&](const fs::path &p) { return files_.CreateFile(p, old, e.perms); }))
            Fail(path, failure + error.message());
        files_.CopyOwnerAndAttributes(path, temp);
        if (const std::error_code error = files_.Sync(temp)) {
            files_.Remove(temp);
            Fail(path, failure + error.message());
        }
        return temp;
    }

    fs::path FreeBackupName(const fs::path &path)
    {
        for (int n = 0;; ++n) {
            fs::path name = BackupName(path, n);
            if (taken_.count(name))
                continue;
            FileInfo info;
            if (const std::error_code error = files_.Status(name, info))
                Fail(path, kNoBackup + error.message());
            if (info.type == fs::file_type::not_found) {
                taken_.insert(name);
                return name;
            }
        }
    }

    void Commit()
    {
        for (Entry &e : entries_) {
            if (e.backupTemp.empty())
                continue;
            if (const std::error_code error = files_.Rename(e.backupTemp, e.backupName, false))
                Fail(e.write->path, kNoBackup + error.message());
            e.backupTemp.clear();
            e.backupPlaced = true;
        }
        for (Entry &e : entries_) {
            const std::error_code error = e.inPlace ? files_.WriteInPlace(e.write->path, e.write->bytes)
                                                    : files_.Rename(e.newTemp, e.write->path, true);
            // Written over in place, the file may hold part of the new bytes.
            e.replaced = !error || e.inPlace;
            if (error)
                Fail(e.write->path, error.message());
            e.newTemp.clear();
        }
        // The renames themselves reach the disk with their folders.
        for (const fs::path &dir : Folders())
            if (const std::error_code error = files_.Sync(dir))
                Fail(dir, error.message());
    }

    // Puts every file back as it was; the text names what could not be.
    std::string RollBack() noexcept
    {
        std::string notRestored;
        for (auto e = entries_.rbegin(); e != entries_.rend(); ++e) {
            const fs::path &path = e->write->path;
            if (e->replaced && e->inPlace) {
                if (files_.WriteInPlace(path, e->oldBytes)) {
                    notRestored +=
                        "\n    " + path.string() + "（原内容保存在 " + e->backupName.string() + "）";
                    e->backupPlaced = false;  // it stays: it holds the old content
                }
            } else if (e->replaced && e->existed) {
                if (files_.Rename(e->oldKept, path, true))
                    notRestored +=
                        "\n    " + path.string() + "（原内容保存在 " + KeepAside(*e).string() + "）";
                e->oldKept.clear();
            } else if (e->replaced && files_.Remove(path)) {
                notRestored += "\n    " + path.string() + "（新文件未能删除）";
            }
            if (e->backupPlaced)
                files_.Remove(e->backupName);
            for (const fs::path *temp : {&e->newTemp, &e->oldKept, &e->backupTemp})
                if (!temp->empty())
                    files_.Remove(*temp);
        }
        for (auto dir = createdDirs_.rbegin(); dir != createdDirs_.rend(); ++dir)
            files_.Remove(*dir);
        for (const fs::path &dir : Folders())
            files_.Sync(dir);
        return notRestored.empty() ? notRestored : "\n下列文件未能恢复原样:" + notRestored;
    }

    // An old content that could not be put back gets a backup's name, where
    // no later save takes it for a stale temporary file; where that fails
    // too, it stays where it is.
    fs::path KeepAside(const Entry &e) noexcept
    {
        for (int n = 0; n < 100; ++n) {
            fs::path name = BackupName(e.write->path, n);
            if (!files_.Rename(e.oldKept, name, false))
                return name;
        }
        return e.oldKept;
    }

    FileOperations &files_;
    std::vector<Entry> entries_;
    std::vector<fs::path> createdDirs_;  // outermost first
    std::vector<std::string> notices_;
    std::set<fs::path> taken_;  // names no backup may take
};

}  // namespace

fs::path BackupName(const fs::path &file, int number)
{
    std::string name = file.string() + ".bak";
    if (number > 0)
        name += "." + std::to_string(number);
    return name;
}

WriteReport WriteAllOrNothing(const std::vector<FileWrite> &writes, FileOperations &files)
{
    return Transaction(writes, files).Run();
}

}  // namespace qasp
