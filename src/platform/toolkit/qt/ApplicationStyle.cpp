#include "platform/toolkit/qt/ApplicationStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>

namespace toolkit::qt {

namespace {

// Stands for the style's own overflow icon and asks for it at the first drawing.
class OverflowIcon : public QIconEngine {
public:
    explicit OverflowIcon(const QStyle* style) : style_(style) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        Real().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Real().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Real().actualSize(size, mode, state);
    }
    QIconEngine* clone() const override { return new OverflowIcon(style_); }

private:
    QIcon& Real() {
        if (real_.isNull() && style_) real_ = style_->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton);
        return real_;
    }

    QPointer<const QStyle> style_;
    QIcon real_;
};

}  // namespace

ApplicationStyle::ApplicationStyle() : QProxyStyle(PlatformStyleName()) {}

QIcon ApplicationStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const {
    if (icon == SP_ToolBarHorizontalExtensionButton) return QIcon(new OverflowIcon(baseStyle()));
    return QProxyStyle::standardIcon(icon, option, widget);
}

QString PlatformStyleName() {
    const QStyle* style = QApplication::style();
    if (const auto* proxy = qobject_cast<const QProxyStyle*>(style)) style = proxy->baseStyle();
    return style->name();
}

}  // namespace toolkit::qt
