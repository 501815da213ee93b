#include "launcher/ui/EntryButtons.h"

#include "launcher/ui/ImageFromPng.h"
#include "ui/Prompts.h"

#include <QIconEngine>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

#include <algorithm>

namespace tramble {
namespace {

// An icon that keeps its PNG stream and decodes it when first drawn, so that
// a bar with many entries shows without decoding every image first.
class TPngIconEngine : public QIconEngine {
public:
    explicit TPngIconEngine(QByteArray png) : m_png(std::move(png)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        if (m_icon.isNull()) {
            const QImage image = ImageFromPng(std::string_view(m_png.constData(), m_png.size()));
            if (!image.isNull())
                m_icon = QIcon(QPixmap::fromImage(image));
        }
        return m_icon.pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new TPngIconEngine(m_png); }

private:
    QByteArray m_png;
    QIcon m_icon;
};

// A flat button at rest shows only its icon; the style draws the rest (the
// raised look, hover, press). Drawing hundreds of resting buttons this way
// saves the style's work for each.
class TEntryButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!autoRaise() || underMouse() || isDown() || hasFocus()) {
            QToolButton::paintEvent(event);
            return;
        }
        QPainter painter(this);
        const QPixmap pixmap = icon().pixmap(iconSize(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
        const QSize size = pixmap.deviceIndependentSize().toSize();
        painter.drawPixmap((width() - size.width()) / 2, (height() - size.height()) / 2, pixmap);
    }
};

QIcon IconOf(const std::string& png)
{
    return QIcon(new TPngIconEngine(QByteArray(png.data(), static_cast<qsizetype>(png.size()))));
}

QMessageBox::Icon BoxIcon(TBoxKind kind)
{
    switch (kind) {
    case TBoxKind::Warning: return QMessageBox::Warning;
    case TBoxKind::Error: return QMessageBox::Critical;
    case TBoxKind::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

TEntryButtons::TEntryButtons(THooks hooks, QObject* parent) : QObject(parent), m_hooks(std::move(hooks))
{
}

int TEntryButtons::IndexOf(const QObject* button) const
{
    const auto& list = *m_hooks.Buttons;
    const auto it = std::find(list.begin(), list.end(), button);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

std::optional<int> TEntryButtons::MenuEntry() const
{
    const int index = IndexOf(m_menuButton);
    return index < 0 ? std::nullopt : std::optional<int>(index);
}

bool TEntryButtons::ShowBox(TBoxKind kind, const std::string& text, const std::string& caption)
{
    const bool question = kind == TBoxKind::Question;
    const QMessageBox::StandardButton answer =
        m_hooks.Message(BoxIcon(kind), QString::fromStdString(text), QString::fromStdString(caption),
                        question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                        question ? QMessageBox::No : QMessageBox::NoButton);
    return answer == QMessageBox::Yes;
}

std::optional<std::string> TEntryButtons::AskArguments(const std::string& caption, const std::string& prompt)
{
    const std::optional<QString> text =
        AskText(m_hooks.Bar, QString::fromStdString(caption), QString::fromStdString(prompt));
    if (!text && PromptsClosed())
        return std::nullopt;
    return text ? text->toStdString() : std::string();
}

void TEntryButtons::HoldBar()
{
    if (m_hooks.HoldBar)
        m_hooks.HoldBar();
}

void TEntryButtons::ReleaseBar()
{
    if (m_hooks.ReleaseBar)
        m_hooks.ReleaseBar();
}

void TEntryButtons::AddButton(const std::string& png)
{
    const int size = m_hooks.IconSize;
    auto* button = new TEntryButton(m_hooks.Bar);
    button->setObjectName(QStringLiteral("Button%1").arg(m_nextNumber++));
    button->setAutoRaise(true);
    button->setIconSize(QSize(size, size));
    button->setIcon(IconOf(png));
    button->resize(size + 4, size + 4);
    // Off-screen and hidden until the next layout places it.
    button->move(-size - 100, -size - 100);
    button->hide();
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QToolButton::clicked, this, [this, button] {
        if (const int index = IndexOf(button); index >= 0)
            emit entryClicked(index);
    });
    connect(button, &QWidget::customContextMenuRequested, this, [this, button](const QPoint& at) {
        m_menuButton = button;
        const QPoint global = button->mapToGlobal(at);
        if (m_hooks.MenuOpened)
            m_hooks.MenuOpened(m_hooks.Bar->mapFromGlobal(global));
        if (m_hooks.ButtonMenu)
            m_hooks.ButtonMenu->popup(global);
    });
    m_hooks.Buttons->push_back(button);
}

void TEntryButtons::RemoveButton(int index)
{
    QAbstractButton* button = (*m_hooks.Buttons)[index];
    m_hooks.Buttons->erase(m_hooks.Buttons->begin() + index);
    if (m_menuButton == button)
        m_menuButton = nullptr;
    button->hide();
    // Its own menu or click may still be on the stack.
    button->deleteLater();
}

void TEntryButtons::SetButtonImage(int index, const std::string& png)
{
    (*m_hooks.Buttons)[index]->setIcon(IconOf(png));
}

void TEntryButtons::ReorderButtons(const std::vector<int>& oldIndexOfNew)
{
    std::vector<QAbstractButton*> reordered;
    for (int old : oldIndexOfNew)
        reordered.push_back((*m_hooks.Buttons)[old]);
    *m_hooks.Buttons = std::move(reordered);
}

void TEntryButtons::SetButtonRaised(int index, bool raised)
{
    if (auto* button = qobject_cast<QToolButton*>((*m_hooks.Buttons)[index]))
        button->setAutoRaise(!raised);
}

void TEntryButtons::SetButtonHint(int index, const std::string& hint)
{
    (*m_hooks.Buttons)[index]->setToolTip(QString::fromStdString(hint));
}

void TEntryButtons::RequestLayout()
{
    if (m_hooks.RequestLayout)
        m_hooks.RequestLayout();
}

std::optional<TRgbaImage> TEntryButtons::ExtractIcon(const std::string& iconFile, int index, int size)
{
    return m_icons.Extract(iconFile, index, size);
}

} // namespace tramble
