#include "project/asp_writer.h"

#include "project/prompter.h"
#include "text/file_path.h"
#include "text/gbk_codec.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>

#ifdef __unix__
#include <fcntl.h>
#include <unistd.h>
#endif

namespace qasp {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kCrLf = "\r\n";

std::string Shown(std::string_view gbkPath) { return GbkToUtf8(gbkPath); }

struct Job {
    const TreeNode *node;
    std::string path;
    bool header;
};

// Documents in the order their files are completed: every document after
// all the documents below it, so of two documents with one name the later
// in the tree's order is written last and wins.
void CollectJobs(const TreeNode *node, std::string_view dir, bool header, std::vector<Job> &jobs,
                 std::vector<std::string> &refused)
{
    for (const auto &child : node->Children())
        if (child->IsDocument())
            CollectJobs(child.get(), dir, false, jobs, refused);
    // A name such as "../../x.asp" (an include path with forward slashes can
    // give one) must not reach outside the project's directory.
    const fs::path name(node->DisplayText());
    const fs::path normal = name.lexically_normal();
    if (node->DisplayText().empty() || name.is_absolute() || normal.empty()
        || *normal.begin() == ".." || !normal.has_filename()) {
        refused.push_back(node->DisplayText());
        return;
    }
    jobs.push_back({node, JoinPath(dir, node->DisplayText()), header});
}

bool SameFile(const std::string &a, const std::string &b)
{
    std::error_code ec1, ec2;
    return fs::exists(a, ec1) && fs::weakly_canonical(a, ec1) == fs::weakly_canonical(b, ec2);
}

// The marked documents whose own file a write to `path` would replace.
bool LosesLoadedFile(const TreeNode &node, const std::string &path)
{
    const TTreeRec *rec = node.Record();
    return rec && rec->LayoutLoses && !rec->SourceFile.empty() && SameFile(path, rec->SourceFile);
}

// Asks (or decides) whether files the layout cannot give back may be
// replaced; true to go on.
bool MayOverwrite(const std::vector<std::string> &paths, Prompter &prompter, OverwritePolicy policy)
{
    if (paths.empty() || policy == OverwritePolicy::Force)
        return true;
    std::string list;
    for (const std::string &p : paths)
        list += "\n    " + Shown(p);
    if (policy == OverwritePolicy::Refuse)
        throw OverwriteRefused("保存会改变下列文件中工程格式无法保留的内容（如脚本块之外的HTML），未写入任何文件:"
                         + list);
    const std::string text =
        "下列文件含有工程格式无法保留的内容（如脚本块之外的HTML、\"%>\"之后的文字），保存将改变它们:"
        + list + "\n\n仍然保存吗?选[是]保存，并把每个原文件保留为 .bak 文件；选[否]取消保存。";
    return prompter.Question("保存提示", text, kYesNo) == kAnswerYes;
}

[[noreturn]] void Fail(const std::string &path, const std::string &why)
{
    throw WriteError("无法写入文件 " + Shown(path) + "：" + why);
}

}  // namespace

std::string AspDocumentBytes(const TreeNode &node, bool header)
{
    std::string out;
    if (header)
        out += "<%@codepage=936%>\r\n<%Option Explicit%>\r\n";
    for (const auto &child : node.Children())
        if (child->IsDocument())
            out += "<!--#include file=\"" + child->DisplayText() + "\"-->\r\n";
    out += "<%\r\n";
    out += node.Text();
    out += kCrLf;
    for (const auto &child : node.Children())
        if (!child->IsDocument()) {
            out += child->Text();
            out += "\r\n\r\n";
        }
    out += "%>\r\n";
    return out;
}

std::string SingleDocumentBytes(const ProjectTree &tree, bool optionExplicit)
{
    std::string documents, functions;
    for (const TreeNode *n = tree.FirstTopLevel(); n; n = tree.NextInPreOrder(n)) {
        std::string &part = n->IsDocument() ? documents : functions;
        part += kCrLf;
        part += n->Text();
    }
    return std::string(optionExplicit ? "<%Option Explicit\r\n" : "<%\r\n") + documents + "\r\n"
           + functions + "\r\n%>\r\n";
}

namespace {

// A file's new content, written beside it and not yet in its place.
struct PreparedFile {
    std::string path;
    std::string temp;
    bool backup = false;
};

// Writes `bytes` to a new temporary file beside `path`. Nothing is synced
// here: a save syncs once for all its files before renaming them.
PreparedFile Prepare(const std::string &path, std::string_view bytes, bool backup)
{
    std::error_code ec;
    const fs::path target(path);
    if (fs::exists(target, ec)
        && (fs::status(target, ec).permissions() & fs::perms::owner_write) == fs::perms::none)
        Fail(path, "文件是只读的");

    std::mt19937 random(std::random_device{}());
    std::string temp;
    std::FILE *file = nullptr;
    for (int attempt = 0; attempt < 16 && !file; ++attempt) {
        temp = path + ".qasp-" + std::to_string(random() % 1000000) + ".tmp";
        file = std::fopen(temp.c_str(), "wbx");
        if (!file && errno != EEXIST)
            break;
    }
    if (!file)
        Fail(path, std::strerror(errno));
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int savedErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::remove(temp.c_str());
        Fail(path, std::strerror(written ? errno : savedErrno));
    }
    return {path, temp, backup};
}

void Discard(const std::vector<PreparedFile> &files)
{
    for (const PreparedFile &f : files)
        std::remove(f.temp.c_str());
}

// Puts the prepared files in place, in order, after one sync of all of them,
// so that a crash never leaves an empty file where a good one was.
void Commit(std::vector<PreparedFile> &files)
{
#if defined(__linux__)
    if (!files.empty()) {
        // One flush of the file system that holds them.
        const int fd = ::open(fs::path(files.front().temp).parent_path().c_str(), O_RDONLY);
        if (fd < 0 || ::syncfs(fd) != 0)
            ::sync();
        if (fd >= 0)
            ::close(fd);
    }
#elif defined(__unix__)
    ::sync();
#endif
    for (size_t i = 0; i < files.size(); ++i) {
        const PreparedFile &f = files[i];
        std::error_code ec;
        const fs::path target(f.path);
        if (fs::exists(target, ec)) {
            fs::permissions(f.temp, fs::status(target, ec).permissions(), ec);
            if (f.backup) {
                fs::copy_file(target, f.path + ".bak", fs::copy_options::overwrite_existing, ec);
                if (ec) {
                    Discard({files.begin() + i, files.end()});
                    Fail(f.path, "无法保留原文件为 .bak：" + ec.message());
                }
            }
        }
        fs::rename(f.temp, target, ec);
        if (ec) {
            Discard({files.begin() + i, files.end()});
            Fail(f.path, ec.message());
        }
    }
}

}  // namespace

void WriteFileAtomically(const std::string &path, std::string_view bytes, bool backup)
{
    std::vector<PreparedFile> files{Prepare(path, bytes, backup)};
    Commit(files);
}

bool SaveAspDocument(const TreeNode *node, std::string_view dir, bool header, Prompter &prompter,
                     OverwritePolicy policy)
{
    if (!node) {
        prompter.Information("文档为空,无法保存!");
        return false;
    }
    std::vector<Job> jobs;
    std::vector<std::string> refused;
    CollectJobs(node, dir, header, jobs, refused);

    std::vector<std::string> risky;
    for (const Job &job : jobs)
        if (LosesLoadedFile(*job.node, job.path)
            && std::find(risky.begin(), risky.end(), job.path) == risky.end())
            risky.push_back(job.path);
    if (!MayOverwrite(risky, prompter, policy))
        return false;

    // Every file is written beside its place first; only when all of them
    // are written do they replace the old files, in the order the documents
    // are completed. A failure before that changes none of the user's files.
    std::set<std::string> backedUp;
    std::vector<PreparedFile> prepared;
    try {
        for (const Job &job : jobs) {
            const fs::path parent = fs::path(job.path).parent_path();
            std::error_code ec;
            if (!parent.empty() && !fs::is_directory(parent, ec) && !fs::create_directories(parent, ec))
                Fail(job.path, "无法建立目录：" + ec.message());
            const bool backup = std::find(risky.begin(), risky.end(), job.path) != risky.end()
                                && backedUp.insert(job.path).second;
            prepared.push_back(Prepare(job.path, AspDocumentBytes(*job.node, job.header), backup));
        }
    } catch (const WriteError &) {
        Discard(prepared);
        throw;
    }
    Commit(prepared);
    if (!refused.empty()) {
        std::string list;
        for (const std::string &name : refused)
            list += "\n    " + Shown(name);
        prompter.Information("下列文档的名称指向工程目录之外，没有写出:" + list);
    }
    return true;
}

bool SaveSingleDocument(const ProjectTree &tree, std::string_view fileName, bool optionExplicit,
                        Prompter &prompter, OverwritePolicy policy)
{
    if (!tree.FirstTopLevel()) {
        prompter.Information("工程文档为空,无法保存!");
        return false;
    }
    const std::string path(fileName);
    std::vector<std::string> risky;
    for (const TreeNode *n = tree.FirstTopLevel(); n && risky.empty(); n = tree.NextInPreOrder(n))
        if (n->IsDocument() && LosesLoadedFile(*n, path))
            risky.push_back(path);
    if (!MayOverwrite(risky, prompter, policy))
        return false;
    WriteFileAtomically(path, SingleDocumentBytes(tree, optionExplicit), !risky.empty());
    return true;
}

}  // namespace qasp
