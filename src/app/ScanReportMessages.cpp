#include "app/ScanReportMessages.h"

#include "app/WindowServices.h"
#include "app/WindowTexts.h"

void ShowScanReport(QWidget* owner, WindowServices& services, const ScanReport& report) {
    const auto show = [&](const WindowText& text) {
        services.ShowMessage(owner, QString::fromStdString(text.text),
                             QString::fromStdString(text.caption));
    };
    for (int sizeClass : report.classesWithoutBitmaps) {
        show(window_texts::BadInstall(window_texts::FolderForMessage(sizeClass)));
    }
    for (const ScanReport::Overflow& overflow : report.overflows) {
        show(window_texts::TooManyBitmaps(window_texts::FolderForMessage(overflow.sizeClass),
                                          MAX_CLASS_ENTRIES, overflow.leftOut));
    }
    if (!report.userRefusals.empty()) {
        show(window_texts::UserBitmapErrors(report.userRefusals));
    }
}
