// Times the window's commands on the demo kit against references measured in the same run:
//   Load ROM (native image)       vs reading every file it involves once
//   refill of a 1024-entry class  vs Qt's QImage loading and scaling the same 1024 bitmaps
//   one click on a game texture   vs one read of the whole ROM image file
// Prints the median of several runs of each and the ratios with their goals.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

#include "ScriptedWindowServices.h"
#include "TempFolder.h"
#include "app/MainDialog.h"
#include "catalogue/SizeClasses.h"
#include "demo/DemoKit.h"
#include "editor/Editor.h"
#include "io/FileBytes.h"

namespace {

constexpr int RUNS = 7;
constexpr int BIG_CLASS = 7;  // "20 x 20"
constexpr int BIG_CLASS_ENTRIES = 1024;

double MedianSeconds(const std::function<void()>& work) {
    std::vector<double> times;
    for (int run = 0; run < RUNS; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::vector<std::filesystem::path> FilesBelow(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    return files;
}

void Report(const char* what, double seconds, const char* reference, double referenceSeconds,
            double goal) {
    const double ratio = seconds / referenceSeconds;
    std::printf("%-34s %10.3f ms   %-34s %10.3f ms   ratio %6.3f (goal <= %.3f) %s\n", what,
                seconds * 1e3, reference, referenceSeconds * 1e3, ratio, goal,
                ratio <= goal ? "met" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TempFolder folder;
    const auto program = folder / "program";
    const auto work = folder / "work";
    std::filesystem::create_directories(work);
    QDir::setCurrent(QString::fromStdString(work.string()));
    if (!MakeDemoKit(program).ok) {
        std::fprintf(stderr, "cannot write the demo kit\n");
        return 1;
    }
    const auto rom = program / DEMO_ROM_NAME;

    // The files a load reads: the ROM and the whole catalogue.
    std::vector<std::filesystem::path> loadFiles = FilesBelow(program / "romimages");
    loadFiles.push_back(program / "tableBinary.bin");
    loadFiles.push_back(rom);

    auto editor = std::make_unique<Editor>(program);
    ScriptedWindowServices services;
    MainDialog dialog(*editor, services);
    dialog.show();
    auto load = [&] {
        services.fileAnswers.push_back(QString::fromStdString(rom.string()));
        dialog.OnCommand(32771);
    };
    const double loadSeconds = MedianSeconds(load);
    const double readSeconds = MedianSeconds([&] {
        for (const auto& file : loadFiles) {
            (void)ReadFileBytes(file);
        }
    });

    // A class of 1024 entries: the demo's 32 x 32 bitmaps again under new offsets.
    const auto bigFolder = ClassFolderPath(program, BIG_CLASS);
    std::vector<std::filesystem::path> sources = FilesBelow(bigFolder);
    std::erase_if(sources, [](const auto& p) { return p.extension() != ".bmp"; });
    std::vector<std::filesystem::path> bigBitmaps;
    for (int i = 0; bigBitmaps.size() < BIG_CLASS_ENTRIES; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%06X extra.bmp", 0x400000 + i);
        if (static_cast<std::size_t>(i) + sources.size() >= BIG_CLASS_ENTRIES) {
            break;
        }
        std::filesystem::copy_file(sources[i % sources.size()], bigFolder / name);
    }
    load();
    for (const auto& p : FilesBelow(bigFolder)) {
        if (p.extension() == ".bmp") {
            bigBitmaps.push_back(p);
        }
    }
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("1003"));
    combo->setCurrentIndex(BIG_CLASS);
    emit combo->activated(BIG_CLASS);
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("1000"));
    const int items = list->count();
    const double refillSeconds = MedianSeconds([&] { dialog.OnCommand(1011); });
    const double qimageSeconds = MedianSeconds([&] {
        for (const auto& bitmap : bigBitmaps) {
            QImage image(QString::fromStdString(bitmap.string()));
            (void)image.scaled(32, 32);
        }
    });

    // One click on a game texture, as the list delivers it: both routes.
    const QPoint centre = list->visualItemRect(list->item(5)).center();
    const QPoint other = list->visualItemRect(list->item(6)).center();
    int clicks = 0;
    const double clickSeconds = MedianSeconds([&] {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, clicks++ % 2 ? centre : other);
    });
    const double romReadSeconds = MedianSeconds([&] { (void)ReadFileBytes(rom); });

    std::printf("Demo kit: %zu files read by a load; class %d holds %d entries.\n\n",
                loadFiles.size(), BIG_CLASS, items);
    Report("Load ROM (native image)", loadSeconds, "read every file once", readSeconds, 2.0);
    Report("refill of 1024 thumbnails", refillSeconds, "QImage load+scale of the same",
           qimageSeconds, 1.5);
    Report("one click on a game texture", clickSeconds, "one read of the ROM image", romReadSeconds,
           0.05);
    return 0;
}
