#include "platform/toolkit/qt/Seams.h"

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>
#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "platform/toolkit/Runtime.h"
#include "platform/toolkit/decoders/PictureDecoders.h"
#include "platform/toolkit/qt/Accessibility.h"
#include "platform/toolkit/qt/ApplicationStyle.h"

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

std::int16_t ShowMessageBox(const std::string& Prompt, std::int16_t Buttons, const std::string& Title) {
    const QMessageBox::StandardButtons offered = ButtonsOf(Buttons);
    QMessageBox box(IconOf(Buttons), QString::fromStdString(Title), QString::fromStdString(Prompt), offered,
                    QApplication::activeWindow());
    box.exec();
    return AnswerOf(box.standardButton(box.clickedButton()), offered);
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

// Decoded in place from the loader's bytes, by the plug-in for the format its signature names.
StdPicture DecodeByQt(std::span<const std::uint8_t> data) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    QImageReader reader(&device, FormatOf(data));
    reader.setAllocationLimit(AllocationLimitMB);
    const QSize announced = reader.size();
    if (announced.isValid() && !PictureSizeAllowed(announced.width(), announced.height()))
        throw PictureLoadError("picture size " + std::to_string(announced.width()) + " x " +
                               std::to_string(announced.height()) + " is out of range");
    QImage image;
    if (!reader.read(&image)) throw PictureLoadError(reader.errorString().toStdString());
    if (!PictureSizeAllowed(image.width(), image.height())) throw PictureLoadError("picture size is out of range");
    const bool opaque = !image.hasAlphaChannel();
    image.convertTo(QImage::Format_ARGB32);

    auto picture = std::make_shared<Picture>();
    picture->Width = image.width();
    picture->Height = image.height();
    picture->Opaque = opaque;
    picture->Pixels.resize(static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()));
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(picture->Pixels.data() + static_cast<std::size_t>(y) * image.width(), image.constScanLine(y),
                    static_cast<std::size_t>(image.width()) * 4);
    return picture;
}

}  // namespace

// The window's own pictures by the toolkit's decoders: a small fraction of the work of Qt's readers, and no
// plug-in to load.
StdPicture DecodePicture(const EncodedPicture& File) { return DecodePictureFile(File, DecodeByQt); }

void InstallSeams() {
    SetMsgBoxHandler(ShowMessageBox);
    SetPictureDecoder(DecodePicture);
    SetDoEventsHandler([] { QCoreApplication::processEvents(); });
    App::Path(QCoreApplication::applicationDirPath().toStdString());
    QApplication::setStyle(new ApplicationStyle);
    InstallAccessibility();
}

}  // namespace toolkit::qt
