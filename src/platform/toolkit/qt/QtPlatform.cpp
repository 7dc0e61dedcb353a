#include "platform/toolkit/qt/QtPlatform.h"

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/decoders/PictureDecoders.h"

namespace toolkit::qt {

namespace {

constexpr int AllocationLimitMB = static_cast<int>(MaxPicturePixels * 4 / (1024 * 1024));

// The boxes the program shows: OK alone with the critical icon, or Yes and No with the question icon.
QMessageBox::Icon IconOf(std::int16_t style) {
    if ((style & 0x70) == vbCritical) return QMessageBox::Critical;
    if ((style & 0x70) == vbQuestion) return QMessageBox::Question;
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(std::int16_t style) {
    return (style & 0x7) == vbYesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
}

// A box closed without a button counts as its cancelling answer.
std::int16_t AnswerOf(QMessageBox::StandardButton clicked, QMessageBox::StandardButtons offered) {
    if (clicked == QMessageBox::Yes) return vbYes;
    if (clicked == QMessageBox::No || (offered & QMessageBox::No)) return vbNo;
    return vbOK;
}

// Naming the format spares the reader from loading every image plug-in to ask each whether it knows the data.
// Anything else is left to the reader to recognise.
QByteArray FormatOf(std::span<const std::uint8_t> data) {
    const auto startsWith = [data](std::string_view signature) {
        return data.size() >= signature.size() && std::memcmp(data.data(), signature.data(), signature.size()) == 0;
    };
    if (startsWith("\x89PNG\r\n\x1A\n")) return "png";
    if (startsWith("BM")) return "bmp";
    return {};
}

// The picture's pixels as an image of `format`, to decode or draw into.
QImage ImageOver(Picture& picture, QImage::Format format) {
    return QImage(reinterpret_cast<uchar*>(picture.Pixels.data()), picture.Width, picture.Height, picture.Width * 4,
                  format);
}

// Decoded in place from the loader's bytes, by the plug-in for the format its signature names. A picture whose
// pixels are 32-bit words decodes straight into the picture's memory, where the plug-in fills the image it is given;
// any other is drawn into it, so at most the smaller decoded image lives beside it.
StdPicture DecodeByQt(std::span<const std::uint8_t> data) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device, FormatOf(data));
    reader.setAllocationLimit(AllocationLimitMB);
    const QSize announced = reader.size();
    // A size the header does not tell could only be checked once the pixels were taken.
    if (!announced.isValid())
        throw PictureLoadError(reader.canRead() ? "the picture's size cannot be read before its pixels"
                                                : reader.errorString().toStdString());
    if (!PictureSizeAllowed(announced.width(), announced.height()))
        throw PictureLoadError("picture size " + std::to_string(announced.width()) + " x " +
                               std::to_string(announced.height()) + " is out of range");
    auto picture = std::make_shared<Picture>();
    picture->Width = announced.width();
    picture->Height = announced.height();
    picture->Pixels.resize(static_cast<std::size_t>(picture->Width) * static_cast<std::size_t>(picture->Height));
    const QImage::Format format = reader.imageFormat();
    const bool words = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
    QImage image = words ? ImageOver(*picture, format) : QImage();
    if (!reader.read(&image)) throw PictureLoadError(reader.errorString().toStdString());
    if (image.size() != announced) throw PictureLoadError("the picture's size differs from its header's");
    picture->Opaque = !image.hasAlphaChannel();
    if (image.constBits() != reinterpret_cast<const uchar*>(picture->Pixels.data())) {
        QImage target = ImageOver(*picture, QImage::Format_ARGB32);
        QPainter painter(&target);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, image);
    }
    return picture;
}

}  // namespace

// The window's own pictures by the toolkit's decoders: a small fraction of the work of Qt's readers, and no
// plug-in to load.
StdPicture DecodePicture(const EncodedPicture& File) { return DecodePictureFile(File, DecodeByQt); }

std::int16_t QtPlatform::MsgBox(const std::string& prompt, std::int16_t buttons, const std::string& title) {
    const QMessageBox::StandardButtons offered = ButtonsOf(buttons);
    QMessageBox box(IconOf(buttons), QString::fromStdString(title), QString::fromStdString(prompt), offered,
                    QApplication::activeWindow());
    box.exec();
    return AnswerOf(box.standardButton(box.clickedButton()), offered);
}

StdPicture QtPlatform::DecodePicture(const EncodedPicture& file) { return qt::DecodePicture(file); }

void QtPlatform::DoEvents() { QCoreApplication::processEvents(); }

std::string QtPlatform::AppPath() { return QCoreApplication::applicationDirPath().toStdString(); }

std::string QtPlatform::AppEXEName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

}  // namespace toolkit::qt
