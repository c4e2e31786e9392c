// qasp colour's output read back by real parsers: every JSON line by
// nlohmann-json (which refuses invalid UTF-8), every HTML page by xmllint
// as XML. Pages hold anything: control characters, bytes that are not text
// in their encoding, broken structure; what is not text is shown marked.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteAll(const fs::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The shell's quoting of one argument.
std::string Quoted(const std::string &arg)
{
    std::string out = "'";
    for (const char c : arg)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs a shell command; its exit status.
int RunShell(const std::string &command)
{
    const int status = std::system(command.c_str());  // NOLINT(bugprone-command-processor): our own commands
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ColourOutputTest : public ::testing::Test {
public:
    ColourOutputTest(const ColourOutputTest &) = delete;
    ColourOutputTest &operator=(const ColourOutputTest &) = delete;

protected:
    ColourOutputTest() { fs::create_directories(dir_); }
    ~ColourOutputTest() override { fs::remove_all(dir_); }

    // qasp colour [--html] on `page`, its output in a file beside it.
    fs::path Colour(const fs::path &page, bool html)
    {
        fs::path out = page.string() + (html ? ".html" : ".jsonl");
        const std::string command = Quoted(QASP_PROGRAM) + " colour " + (html ? "--html " : "")
                                    + Quoted(page.string()) + " > " + Quoted(out.string());
        EXPECT_EQ(RunShell(command), 0) << command;
        return out;
    }

    // The runs' texts of each JSON line; a line that does not parse fails.
    std::vector<std::string> JsonLineTexts(const fs::path &jsonl, const std::string &what)
    {
        std::vector<std::string> texts;
        std::istringstream lines(ReadAll(jsonl));
        for (std::string line; std::getline(lines, line);) {
            try {
                std::string text;
                for (const auto &run : nlohmann::json::parse(line)) {
                    EXPECT_EQ(run.at("c").get<std::string>().size(), 7u) << what;  // #RRGGBB
                    text += run.at("t").get<std::string>();
                }
                texts.push_back(text);
            } catch (const nlohmann::json::exception &e) {
                ADD_FAILURE() << what << ": line " << texts.size() + 1
                              << " is no JSON array of runs: " << e.what();
                texts.emplace_back();
            }
        }
        return texts;
    }

    fs::path dir_ = fs::temp_directory_path() / ("qasp_colour_output_" + std::to_string(::getpid()));
};

// "\xEF\xBF\xBD" is U+FFFD; U+2400 + c pictures control character c.
TEST_F(ColourOutputTest, ControlCharactersAndBadBytesAreMarked)
{
    const fs::path utf8 = dir_ / "utf8.asp";
    WriteAll(utf8, std::string("\xEF\xBB\xBF<p>a\0b\x1B\x0C\xE9\tz</p>\r\n", 20));
    const std::string html = ReadAll(Colour(utf8, true));
    EXPECT_NE(html.find("a<span class=\"ctrl\" title=\"U+0000\">\xE2\x90\x80</span>b"
                        "<span class=\"ctrl\" title=\"U+001B\">\xE2\x90\x9B</span>"
                        "<span class=\"ctrl\" title=\"U+000C\">\xE2\x90\x8C</span>"
                        "<span class=\"bad\" title=\"\\xE9\">\xEF\xBF\xBD</span>\tz"),
              std::string::npos)
        << html;
    EXPECT_NE(html.find(".ctrl,.bad{"), std::string::npos);
    const std::vector<std::string> lines = JsonLineTexts(Colour(utf8, false), "utf8.asp");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(std::string("a\0b\x1B\x0C\xEF\xBF\xBD\tz", 10)), std::string::npos);

    // Bytes that are no GBK in a GBK page (0xFF, a lead byte with no trail).
    const fs::path gbk = dir_ / "gbk.asp";
    WriteAll(gbk, "<p>\xD6\xD0\xFFx\x81</p>\r\n");
    EXPECT_NE(ReadAll(Colour(gbk, true))
                  .find("\xE4\xB8\xAD<span class=\"bad\" title=\"\\xFF\">\xEF\xBF\xBD</span>x"
                        "<span class=\"bad\" title=\"\\x81\">\xEF\xBF\xBD</span>"),
              std::string::npos);
    EXPECT_EQ(JsonLineTexts(Colour(gbk, false), "gbk.asp"),
              std::vector<std::string>{"<p>\xE4\xB8\xAD\xEF\xBF\xBDx\xEF\xBF\xBD</p>"});
}

// Pages of the demo and the test data, each changed in a few random places
// (random bytes, control characters, pieces of UTF-8 and GBK characters,
// page structure); every output must parse.
TEST_F(ColourOutputTest, MutatedPagesGiveJsonAndXmlThatParse)
{
    std::vector<std::string> seeds;
    for (const fs::path &seed :
         {fs::path(QASP_DEMO_DIR) / "index.asp", fs::path(QASP_DEMO_DIR) / "functions.asp",
          fs::path(QASP_DEMO_DIR) / "inc/conn.asp", fs::path(QASP_CLI_DATA_DIR) / "utf8_page.asp",
          fs::path(QASP_CLI_DATA_DIR) / "html_page.asp"})
        seeds.push_back(ReadAll(seed));
    const std::array<std::string, 18> pieces = {
        "<%",       "%>",        "\"",           "'",     "<!--",         "-->",
        "<script>", "</script>", "<a href=\"",   "&amp;", "\r",           "\n",
        "\xE4\xB8", "\xC2\x85",  "\xEF\xBF\xBE", "\xD6",  "\xEF\xBB\xBF", "<%@ CodePage=65001 %>"};
    std::mt19937 random(20240611);
    const auto below = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    constexpr int kPages = 400;
    std::string htmlFiles;
    for (int p = 0; p < kPages; ++p) {
        std::string page = seeds[static_cast<size_t>(p) % seeds.size()];
        for (size_t change = 1 + below(8); change > 0; --change) {
            const size_t at = below(page.size() + 1);
            switch (below(4)) {
            case 0: page.insert(at, 1, static_cast<char>(below(256))); break;
            case 1: page.insert(at, 1, static_cast<char>(below(2) ? below(32) : 0x7F)); break;
            case 2: page.insert(at, pieces[below(pieces.size())]); break;
            default: page.erase(at, below(16)); break;
            }
        }
        const fs::path file = dir_ / ("page" + std::to_string(p) + ".asp");
        WriteAll(file, page);
        JsonLineTexts(Colour(file, false), file.filename().string());
        htmlFiles += " " + Quoted(Colour(file, true).string());
    }
    EXPECT_EQ(RunShell("xmllint --noout --nonet" + htmlFiles), 0)
        << "xmllint refused the pages it names above";
}

}  // namespace
