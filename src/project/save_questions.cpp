#include "project/save_questions.h"

#include "project/prompter.h"

#include <string>

namespace qasp {
namespace {

std::string List(const std::vector<std::filesystem::path> &files)
{
    std::string list;
    for (const std::filesystem::path &f : files)
        list += "\n    " + f.string();
    return list;
}

}  // namespace

bool MayLoseLayout(const std::vector<std::filesystem::path> &files, Prompter &prompter,
                   OverwritePolicy policy)
{
    if (files.empty() || policy == OverwritePolicy::Force)
        return true;
    const std::string list = List(files);
    if (policy == OverwritePolicy::Refuse)
        throw OverwriteRefused(
            "保存会改变下列文件中工程格式无法保留的内容（如脚本块之外的HTML），未写入任何文件:" + list);
    const std::string text =
        "下列文件含有工程格式无法保留的内容（如脚本块之外的HTML、\"%>\"之后的文字），保存将改变它们:" + list
        + "\n\n仍然保存吗?选[是]保存，并把每个原文件保留为 .bak 文件；选[否]取消保存。";
    return prompter.Question("保存提示", text, QuestionButtons::YesNo) == Answer::Yes;
}

bool MayReplaceReadFiles(const std::vector<std::filesystem::path> &files, Prompter &prompter,
                         OverwritePolicy policy)
{
    if (files.empty() || policy == OverwritePolicy::Force)
        return true;
    const std::string list = List(files);
    if (policy == OverwritePolicy::Refuse)
        throw OverwriteRefused("保存会用别的内容替换下列工程读入的文件，未写入任何文件:" + list);
    const std::string text = "下列文件是工程读入的文件，保存会用别的内容替换它们:" + list
                             + "\n\n仍然保存吗?选[是]保存，并把每个原文件保留为 .bak 文件；选[否]取消保存。";
    return prompter.Question("保存提示", text, QuestionButtons::YesNo) == Answer::Yes;
}

ChangedFilesAnswer AskAboutChangedFiles(const std::vector<std::filesystem::path> &files, Prompter &prompter,
                                        OverwritePolicy policy)
{
    if (files.empty() || policy == OverwritePolicy::Force)
        return ChangedFilesAnswer::Overwrite;
    const std::string list = List(files);
    if (policy == OverwritePolicy::Refuse)
        throw OverwriteRefused("下列文件在载入之后被其他程序修改或删除，未写入任何文件:" + list);
    const std::string text = "下列文件在载入之后被其他程序修改或删除:" + list
                             + "\n\n选[是]仍然保存，覆盖它们（每个原文件保留为 .bak 文件）；"
                               "选[否]不保存，从磁盘重新载入它们；选[取消]取消保存。";
    switch (prompter.Question("保存提示", text, QuestionButtons::YesNoCancel)) {
    case Answer::Yes: return ChangedFilesAnswer::Overwrite;
    case Answer::No: return ChangedFilesAnswer::Reload;
    default: return ChangedFilesAnswer::Cancel;
    }
}

}  // namespace qasp
