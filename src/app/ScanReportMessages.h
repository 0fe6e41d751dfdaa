#pragma once

struct ScanReport;
class QWidget;
class WindowServices;

// Shows what a catalogue scan must tell the user, in order: each game class without bitmaps
// ("Bad install"), each class with more bitmaps than it can take, and the User bitmaps left out.
void ShowScanReport(QWidget* owner, WindowServices& services, const ScanReport& report);
