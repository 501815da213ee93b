#include "weather/ui/frmFindCity.h"

#include "i18n/Language.h"
#include "ui/Prompts.h"
#include "weather/WeatherRequests.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <atomic>
#include <thread>

namespace tramble {
namespace {

QString Tr(const TLanguage& language, const char* section, const char* key)
{
    return QString::fromStdString(language.Text(section, key));
}

QString Q(const std::string& text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

TfrmFindCity::TfrmFindCity(QWidget* owner, const TLanguage& language, std::string host)
    : QDialog(owner), m_language(language), m_host(std::move(host))
{
    setObjectName(QStringLiteral("frmFindCity"));
    setWindowTitle(Tr(language, "Weather", "FindCity"));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    lbFindCityTip = new QLabel(Tr(language, "Weather", "FindCityTip"), this);
    lbFindCityTip->setObjectName(QStringLiteral("lbFindCityTip"));
    edtCity = new QLineEdit(this);
    edtCity->setObjectName(QStringLiteral("edtCity"));
    btnSearch = new QPushButton(Tr(language, "main", "Search"), this);
    btnSearch->setObjectName(QStringLiteral("btnSearch"));
    btnSearch->setEnabled(false);
    btnSearch->setAutoDefault(false);

    lvCity = new QTreeWidget(this);
    lvCity->setObjectName(QStringLiteral("lvCity"));
    lvCity->setRootIsDecorated(false);
    lvCity->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvCity->setSelectionMode(QAbstractItemView::SingleSelection);
    lvCity->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvCity->setHeaderLabels(
        {Tr(language, "Weather", "City"), Tr(language, "Weather", "State"), Tr(language, "Weather", "Code")});
    lvCity->header()->resizeSection(0, 80);
    lvCity->header()->resizeSection(1, 200);
    lvCity->header()->resizeSection(2, 100);

    btnOk = new QPushButton(Tr(language, "main", "Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setEnabled(false);
    btnOk->setAutoDefault(false);
    btnCancel = new QPushButton(Tr(language, "main", "Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);

    auto* search = new QHBoxLayout;
    search->addWidget(edtCity, 1);
    search->addWidget(btnSearch);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbFindCityTip);
    layout->addLayout(search);
    layout->addWidget(lvCity, 1);
    layout->addLayout(buttons);
    resize(420, 300);

    tmrCity.setObjectName(QStringLiteral("tmrCity"));
    tmrCity.setSingleShot(true);
    tmrCity.setInterval(kWatchdogMs);
    connect(&tmrCity, &QTimer::timeout, this, &TfrmFindCity::tmrCityTimer);
    connect(edtCity, &QLineEdit::textChanged, this,
            [this](const QString& text) { btnSearch->setEnabled(!m_searching && !text.isEmpty()); });
    connect(edtCity, &QLineEdit::returnPressed, this, [this] {
        if (btnSearch->isEnabled())
            btnSearchClick();
    });
    connect(btnSearch, &QPushButton::clicked, this, &TfrmFindCity::btnSearchClick);
    connect(lvCity, &QTreeWidget::itemSelectionChanged, this,
            [this] { btnOk->setEnabled(!lvCity->selectedItems().isEmpty()); });
    connect(btnOk, &QPushButton::clicked, this, &TfrmFindCity::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmFindCity::reject);
}

TfrmFindCity::~TfrmFindCity() = default;

void TfrmFindCity::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    edtCity->setFocus();
}

void TfrmFindCity::done(int result)
{
    // Closing ends a search with its current attempt; a running watchdog
    // fires at once.
    m_closing = true;
    if (tmrCity.isActive())
        tmrCityTimer();
    m_http.Abort();
    QDialog::done(result);
}

void TfrmFindCity::tmrCityTimer()
{
    tmrCity.stop();
    m_http.Abort();
}

void TfrmFindCity::btnOkClick()
{
    const QList<QTreeWidgetItem*> selected = lvCity->selectedItems();
    if (selected.isEmpty())
        return;
    const QTreeWidgetItem* row = selected.front();
    m_result = TCityRow{row->text(0).toStdString(), row->text(1).toStdString(), row->text(2).toStdString()};
    accept();
}

THttpResult TfrmFindCity::Fetch(const std::string& url)
{
    THttpResult result;
    std::atomic<bool> done{false};
    std::thread request([&] {
        result = m_http.Get(WeatherServiceRequest(url));
        done = true;
    });
    // The window's thread only looks at the flag: nothing of Qt is touched
    // from the request's thread.
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done)
            loop.quit();
    });
    poll.start();
    loop.exec();
    request.join();
    return result;
}

void TfrmFindCity::FillList(const std::string& xml)
{
    lvCity->setUpdatesEnabled(false);
    lvCity->clear();
    for (const TCityRow& row : ParseCityList(xml))
        new QTreeWidgetItem(lvCity, {Q(row.City), Q(row.State), Q(row.Location)});
    lvCity->setUpdatesEnabled(true);
    setWindowTitle(QStringLiteral("Find <%1>").arg(lvCity->topLevelItemCount()));
}

void TfrmFindCity::btnSearchClick()
{
    if (m_searching)
        return;
    m_searching = true;
    btnSearch->setEnabled(false);
    lvCity->clear();
    btnOk->setEnabled(false);
    const std::string url = CitySearchUrl(m_host, edtCity->text().toStdString());
    bool found = false;
    for (int attempt = 0; attempt < kAttempts && !m_closing; ++attempt) {
        tmrCity.start();
        const THttpResult answer = url.empty() ? THttpResult{} : Fetch(url);
        tmrCity.stop();
        if (answer.Ok) {
            FillList(answer.Body);
            found = true;
            break;
        }
    }
    if (!found && !m_closing)
        ShowMessage(this, QMessageBox::Warning, Tr(m_language, "Message", "ConnectError") + QStringLiteral("\r\n"),
                    Tr(m_language, "Message", "Error"));
    m_searching = false;
    if (!m_closing)
        btnSearch->setEnabled(!edtCity->text().isEmpty());
}

} // namespace tramble
