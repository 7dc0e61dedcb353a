#include "platform/toolkit/qt/FormWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "platform/toolkit/qt/FocusFrame.h"
#include "platform/toolkit/qt/LateKeys.h"
#include "platform/toolkit/qt/MenuStyle.h"

namespace toolkit::qt {

namespace {

// A form's design pixels are those of a 96 dpi screen: 12 points are 16 pixels.
constexpr double DesignPixelsPerPoint = 96.0 / 72.0;
constexpr const char* FallbackFontFamily = "DejaVu Sans";

QColor ToQColor(gdi::COLORREF c) { return QColor(gdi::GetRValue(c), gdi::GetGValue(c), gdi::GetBValue(c)); }

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

// The device context's pixels, wrapped without a copy; valid until it is drawn on or resized.
QImage SurfaceImage(gdi::HDC hdc) {
    const gdi::SurfaceBits bits = gdi::GetSurfaceBits(hdc);
    if (bits.pixels == nullptr) return {};
    return QImage(reinterpret_cast<const uchar*>(bits.pixels), bits.width, bits.height, bits.width * 4,
                  QImage::Format_RGB32);
}

// Whole-number scales replicate each pixel exactly. A fractional one cannot: nearest-neighbour sampling there
// gives rows and columns of uneven width, so pictures are resampled smoothly instead.
void ChooseResampling(QPainter& painter) {
    const qreal scale = painter.deviceTransform().m11();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale != std::floor(scale));
}

// Fills what the surface image leaves uncovered (a surface that failed to be made leaves everything), then
// draws the image straight from the surface's pixels.
void PaintSurface(QPainter& painter, const QRect& area, gdi::HDC hdc, gdi::COLORREF back) {
    const QImage image = SurfaceImage(hdc);
    if (image.width() < area.width() || image.height() < area.height()) painter.fillRect(area, ToQColor(back));
    ChooseResampling(painter);
    painter.drawImage(0, 0, image);
}

// The surface pixel a press falls in. At a fractional scale a device pixel's position lies between two surface
// pixels, and rounding it could name the pixel past the last one.
float PixelOf(qreal position, float size) {
    return static_cast<float>(std::clamp(std::floor(position), 0.0, std::max(0.0, std::floor(size) - 1.0)));
}

QImage PictureImage(const Picture& picture) {
    return QImage(reinterpret_cast<const uchar*>(picture.Pixels.data()), picture.Width, picture.Height,
                  picture.Width * 4, QImage::Format_ARGB32);
}

// Only a family the system has is named: for a missing one the font machinery would gather a list of
// substitutes at the first paint, on top of the fallback family's own, which costs start-up time. The names
// are looked up as they are: resolving them as aliases first (as hasFamily does) asks fontconfig for a full
// substitution, another start-up cost.
QFont ToQFont(const Font& font) {
    QFont qfont;
    const QString name = ToQString(font.Name);
    const bool installed = QFontDatabase::families().contains(name, Qt::CaseInsensitive);
    qfont.setFamilies({installed ? name : QString::fromLatin1(FallbackFontFamily)});
    qfont.setPixelSize(static_cast<int>(std::lround(font.Size * DesignPixelsPerPoint)));
    qfont.setWeight(static_cast<QFont::Weight>(font.Weight));
    qfont.setItalic(font.Italic);
    qfont.setUnderline(font.Underline);
    qfont.setStrikeOut(font.Strikethrough);
    return qfont;
}

Qt::Alignment ToQAlignment(Alignment alignment) {
    switch (alignment) {
        case Alignment::Center: return Qt::AlignHCenter | Qt::AlignTop;
        case Alignment::RightJustify: return Qt::AlignRight | Qt::AlignTop;
        default: return Qt::AlignLeft | Qt::AlignTop;
    }
}

std::int16_t ButtonCode(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton: return 1;
        case Qt::RightButton: return 2;
        case Qt::MiddleButton: return 4;
        default: return 0;
    }
}

std::optional<Key> KeyOf(int key) {
    switch (key) {
        case Qt::Key_Left: return Key::Left;
        case Qt::Key_Right: return Key::Right;
        case Qt::Key_Up: return Key::Up;
        case Qt::Key_Down: return Key::Down;
        case Qt::Key_Space: return Key::Space;
        case Qt::Key_Return:
        case Qt::Key_Enter: return Key::Return;
        default: return std::nullopt;
    }
}

std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers) {
    std::int16_t shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= 1;
    if (modifiers & Qt::ControlModifier) shift |= 2;
    if (modifiers & Qt::AltModifier) shift |= 4;
    return shift;
}

// The client area: the form's image, then its lines, images and labels. Presses
// here belong to no control and are not reported.
class ClientArea : public QWidget {
public:
    ClientArea(const Form& form, QWidget* parent) : QWidget(parent), form_(form) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(form.Properties().ClientWidth, form.Properties().ClientHeight);
        for (const Label* label : form.Labels()) fonts_.push_back(ToQFont(label->Properties().Font));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        PaintSurface(painter, rect(), form_.hDC(), form_.Properties().BackColor);
        for (const Line* line : form_.Lines()) {
            painter.setPen(QPen(ToQColor(line->BorderColor), line->BorderWidth));
            painter.drawLine(line->X1, line->Y1, line->X2, line->Y2);
        }
        for (const Image* image : form_.Images()) {
            if (image->Picture)
                painter.drawImage(QPoint(image->Left, image->Top), PictureImage(*image->Picture),
                                  QRect(0, 0, image->Width, image->Height));
        }
        for (std::size_t i = 0; i < form_.Labels().size(); ++i) DrawLabel(painter, *form_.Labels()[i], fonts_[i]);
    }

private:
    static void DrawLabel(QPainter& painter, const Label& label, const QFont& font) {
        const Label::Design& design = label.Properties();
        const QRect box(design.Left, design.Top, design.Width, design.Height);
        if (!design.Transparent) painter.fillRect(box, ToQColor(design.BackColor));
        painter.save();
        painter.setClipRect(box);
        painter.setFont(font);
        painter.setPen(ToQColor(design.ForeColor));
        painter.drawText(box, static_cast<int>(ToQAlignment(design.Alignment) | Qt::TextSingleLine),
                         ToQString(label.Caption()));
        painter.restore();
    }

    const Form& form_;
    std::vector<QFont> fonts_;
};

// Hidden from painting, for assistive tools alone: the label's text is drawn with the client area.
class LabelText : public QLabel {
public:
    LabelText(const Label& label, QWidget* parent) : QLabel(parent) {
        const Label::Design& design = label.Properties();
        setGeometry(design.Left, design.Top, design.Width, design.Height);
        setTextFormat(Qt::PlainText);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        // Before the text: setting it makes assistive tools look at the label.
        if (design.StatusLine) ExposeStatusLine(*this);
        setText(ToQString(label.Caption()));
    }

protected:
    void paintEvent(QPaintEvent*) override {}
};

// A surface that is a table of cells takes the keyboard, shows the cursor's focus frame over its image, and reads
// as that table to assistive tools.
class SurfaceView : public QWidget {
public:
    // Not marked opaque although it covers itself: the canvas under it then paints whole rectangles, which Qt
    // copies straight; a region with a hole in it would send the canvas through Qt's general blending, which
    // starts a pool of threads for a picture this large.
    SurfaceView(PictureBox& surface, FormWindow& window, QWidget* parent)
        : QWidget(parent), surface_(surface), window_(window) {
        CellTable* table = surface.Table();
        if (table == nullptr) return;
        setFocusPolicy(Qt::StrongFocus);
        row_ = table->CursorRow();
        column_ = table->CursorColumn();
        ExposeTable(*this, *table, [&window](const std::function<void()>& handler) { window.RunHandler(handler); });
        setFocus();
    }

    // Showing or hiding the cursor moves no focus.
    void CursorChanged() {
        update();
        const CellTable& table = *surface_.Table();
        if (row_ == table.CursorRow() && column_ == table.CursorColumn()) return;
        row_ = table.CursorRow();
        column_ = table.CursorColumn();
        AnnounceCursor(*this);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        PaintSurface(painter, rect(), surface_.Paint(), surface_.BackColor());
        if (surface_.Table() == nullptr) return;
        if (const std::optional<CellBox> cell = surface_.Table()->FocusFrame())
            PaintFocusFrame(painter, QRect(cell->Left, cell->Top, cell->Width, cell->Height));
    }

    void keyPressEvent(QKeyEvent* event) override {
        const std::optional<Key> key = KeyOf(event->key());
        if (surface_.Table() == nullptr || !key) {
            QWidget::keyPressEvent(event);
            return;
        }
        window_.RunHandler([this, key] { surface_.Table()->KeyDown(*key); });
    }

    // After Qt's own focus event for the view, so that the cell's comes last.
    void focusInEvent(QFocusEvent* event) override {
        QWidget::focusInEvent(event);
        QMetaObject::invokeMethod(this, [this] { AnnounceCursor(*this); }, Qt::QueuedConnection);
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (!surface_.MouseDown) return;
        const float x = PixelOf(event->position().x(), surface_.Width());
        const float y = PixelOf(event->position().y(), surface_.Height());
        window_.RunHandler(
            [&] { surface_.MouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()), x, y); });
    }

private:
    PictureBox& surface_;
    FormWindow& window_;
    int row_ = 0;
    int column_ = 0;
};

Qt::WindowFlags WindowFlagsOf(const Form::Design& design) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint;
    if (design.MinButton) flags |= Qt::WindowMinimizeButtonHint;
    if (design.MaxButton) flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

}  // namespace

FormWindow::FormWindow(Form& form) : QWidget(nullptr, WindowFlagsOf(form.Properties())), FrontEnd(form) {
    setWindowTitle(ToQString(form.Properties().Caption));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (!form.Properties().Resizable) layout->setSizeConstraint(QLayout::SetFixedSize);
    if (!form.Menus().empty()) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setStyle(new MenuStyle(this));
        layout->setMenuBar(menuBar_);
        for (const auto& item : form.Menus()) AddMenuItem(*menuBar_, *item);
        // The desktops' key for the menu bar, which Qt leaves unbound.
        auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
        connect(f10, &QShortcut::activated, menuBar_, [this] {
            if (!menuBar_->actions().isEmpty()) menuBar_->setActiveAction(menuBar_->actions().constFirst());
        });
    }
    canvas_ = new ClientArea(form, this);
    layout->addWidget(canvas_);
    for (const Label* label : form.Labels()) labels_.emplace(label, new LabelText(*label, canvas_));
}

int FormWindow::Run() { return QApplication::exec(); }

void FormWindow::EndEventLoop() { QCoreApplication::exit(1); }

QWidget* FormWindow::SurfaceWidget(const PictureBox& surface) const {
    const auto it = surfaces_.find(&surface);
    return it == surfaces_.end() ? nullptr : it->second;
}

void FormWindow::AddMenuItem(QWidget& parent, const MenuItem& item) {
    if (item.IsSeparator()) {
        auto* separator = new QAction(&parent);
        separator->setSeparator(true);
        separator->setVisible(item.Visible());
        parent.addAction(separator);
        return;
    }
    if (item.Children().empty()) {
        AddCommand(parent, item);
        return;
    }
    auto* menu = new QMenu(&parent);
    menu->setStyle(parent.style());
    menu->menuAction()->setVisible(item.Visible());
    actions_.emplace(&item, menu->menuAction());
    SyncMenuItem(item, false);
    for (const auto& child : item.Children()) AddMenuItem(*menu, *child);
    parent.addAction(menu->menuAction());
}

// The model alone decides what a choice does to the marks, so the mark Qt toggles itself on a choice is put back
// before the model runs.
void FormWindow::AddCommand(QWidget& parent, const MenuItem& item) {
    auto* action = new QAction(&parent);
    action->setVisible(item.Visible());
    if (!item.Shortcut().empty()) action->setShortcut(QKeySequence(ToQString(item.Shortcut())));
    actions_.emplace(&item, action);
    SyncMenuItem(item, false);
    QObject::connect(action, &QAction::triggered, action, [this, &item] {
        SyncMenuItem(item, false);
        RunHandler([&item] { item.Choose(); });
        SyncMenuItem(item, true);
    });
    parent.addAction(action);
}

// A check mark shows only while the item is checked (the menu style draws no empty indicator).
void FormWindow::SyncMenuItem(const MenuItem& item, bool announce) {
    QAction* action = actions_.at(&item);
    action->setText(ToQString(item.MarkedCaption()));
    action->setEnabled(item.Enabled());
    if (action->menu() != nullptr) return;
    const bool moved = action->isChecked() != item.Checked();
    action->setCheckable(item.Checkable() || item.Checked());
    action->setChecked(item.Checked());
    if (moved && announce) AnnounceChecked(*static_cast<QWidget*>(action->parent()), *action);
}

void FormWindow::MenuItemChanged(const MenuItem& item) { SyncMenuItem(item, true); }

// Surfaces are shown from the window's first showing on, after the form's load event has made its run-time controls.
void FormWindow::ShowWindow() {
    shown_ = true;
    for (PictureBox* surface : TheForm().Surfaces()) SurfaceChanged(*surface);
    show();
    IgnoreLateModifiers(*windowHandle());
}

void FormWindow::LabelChanged(const Label& label) {
    const Label::Design& d = label.Properties();
    canvas_->update(d.Left, d.Top, d.Width, d.Height);
    labels_.at(&label)->setText(ToQString(label.Caption()));
}

void FormWindow::SurfaceChanged(PictureBox& surface) {
    if (!shown_) return;
    QWidget* widget = SurfaceWidget(surface);
    if (widget == nullptr) {
        if (!surface.Visible()) return;
        widget = new SurfaceView(surface, *this, canvas_);
        surfaces_.emplace(&surface, widget);
    }
    widget->setGeometry(surface.Left(), surface.Top(), static_cast<int>(surface.Width()),
                        static_cast<int>(surface.Height()));
    widget->setVisible(surface.Visible());
}

void FormWindow::RepaintSurface(PictureBox& surface) {
    if (QWidget* widget = SurfaceWidget(surface)) widget->repaint();
}

void FormWindow::CursorChanged(PictureBox& surface) {
    if (QWidget* widget = SurfaceWidget(surface)) static_cast<SurfaceView*>(widget)->CursorChanged();
}

void FormWindow::CellChanged(PictureBox& surface, int row, int column) {
    if (QWidget* widget = SurfaceWidget(surface)) AnnounceCellName(*widget, row, column);
}

void FormWindow::Announce(const std::string& sentence) { accessibility_.Announce(sentence); }

void FormWindow::closeEvent(QCloseEvent* event) { event->setAccepted(CloseRequested()); }

}  // namespace toolkit::qt

std::unique_ptr<toolkit::FrontEnd> toolkit::OpenWindow(Form& form) { return std::make_unique<qt::FormWindow>(form); }
