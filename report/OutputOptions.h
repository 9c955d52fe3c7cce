#pragma once

#include <QString>

namespace report {

// Where a run's output goes and how much of it: the choices of the "Output Options" window.
struct OutputOptions {
    enum class Destination { Preview, Printer, File };

    Destination destination = Destination::Preview;
    // Printer: the printer's name; empty means the system's default printer.
    QString printerName;
    // File: the PDF file to write, and whether it may replace a file already there without asking (the
    // "Output Options" window sets it when the user said Yes to replacing it).
    QString filePath;
    bool replaceExisting = false;
    // 1 to 99; printer and file outputs repeat the chosen pages this many times (collated).
    int copies = 1;
    // First and last page to output, counted from 1; 0 and 0 mean all pages.
    int fromPage = 0;
    int toPage = 0;

    bool allPages() const { return fromPage == 0 && toPage == 0; }
};

} // namespace report
