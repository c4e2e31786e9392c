// qasp-skin-model FILE: the elements a skin's model holds and what the editor
// would miss, for `qasp skin info`. A program of its own because it needs
// Qt's image classes, whose libraries would add milliseconds to the start of
// every other qasp command.
#include "skin/data/quick_ini.h"
#include "skin/data/required_elements.h"
#include "skin/data/skin_model.h"
#include "skin/data/skin_reader.h"
#include "text/file_read.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: qasp-skin-model FILE\n";
        return 2;
    }
    const qasp::FileRead read = qasp::ReadFileWithin(argv[1], qasp::skin::kMaxSkinFileBytes);
    if (!read.Ok()) {
        std::cerr << qasp::FileReadProblem(read, argv[1], qasp::skin::kMaxSkinFileBytes) << '\n';
        return 1;
    }
    qasp::skin::TSkinReader reader;
    if (!reader.ReadSkin(read.bytes)) {
        std::cerr << argv[1] << ": not a usable skin: " << reader.LastError() << '\n';
        return 1;
    }
    std::string iniName;
    qasp::skin::TQuickIni ini;
    ini.Load(reader.ExtractFirstMatch(".ini", iniName));
    qasp::skin::SkinModel model;
    qasp::skin::SkinEnvironment environment;
    environment.track = QImage(16, 4, QImage::Format_RGB888);
    environment.trackVert = QImage(4, 16, QImage::Format_RGB888);
    qasp::skin::BuildSkinModel(model, reader, ini, environment);
    for (const auto &[name, e] : model.Elements())
        std::cout << "element " << name << "\t" << e->Bitmap.width() << "x" << e->Bitmap.height()
                  << "\tframes " << e->FrameCount << "\tmargins " << e->Margins.Left << ',' << e->Margins.Top
                  << ',' << e->Margins.Right << ',' << e->Margins.Bottom << '\n';
    // The editor refuses such a skin; say why.
    const std::vector<std::string> missing = qasp::skin::MissingRequiredElements(model);
    for (size_t i = 0; i < missing.size(); ++i)
        std::cout << (i == 0 ? "not usable in the editor, missing: " : ", ") << missing[i]
                  << (i + 1 == missing.size() ? "\n" : "");
    return std::cout ? 0 : 1;
}
