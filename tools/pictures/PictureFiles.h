#pragma once

#include <QImage>
#include <QList>
#include <QString>

#include <stdexcept>

// Writers for the exact file formats the program's resources need. Each throws PictureFileError when the
// picture doesn't fit the format or the file can't be written.
namespace PictureFiles {

// A picture that could not be written; the message names the file and what went wrong.
struct PictureFileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A baseline (sequential, not progressive) JPEG with 3 components of 8 bits and no chroma subsampling, made
// by libjpeg's own compressor so that the format is certain whatever Qt's image plugins would choose.
void writeBaselineJpeg(const QImage& picture, const QString& path, int quality);

// An uncompressed Windows bitmap in 24-bit colour (BITMAPINFOHEADER, bottom-up rows padded to 4 bytes).
void writeBmp24(const QImage& picture, const QString& path);

// A palette PNG of at most 16 colours. The picture must already be Format_Indexed8 with <= 16 entries.
void writeIndexedPng(const QImage& picture, const QString& path);

// A Windows icon file holding each picture as a 16-colour (4 bits per pixel) image with its transparency
// mask. Every picture must be Format_Indexed8 with <= 16 colour entries; fully transparent entries become
// the mask.
void writeIco(const QList<QImage>& pictures, const QString& path);

} // namespace PictureFiles
