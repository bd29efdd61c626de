// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicedisplaypage.h"

#include "devicefilter.h"
#include "deviceinfomodel.h"
#include "devicelistlog.h"
#include "protocolrows.h"
#include "snapshotthumbnaildelegate.h"
#include "snapshotthumbnails.h"

#include <akloguitoolkit/ctabledelegate.h>
#include <akloguitoolkit/ctableview.h>
#include <batchrecovery.h>
#include <devicesinfosavepage.h>
#include <devicestore.h>
#include <linkmessagebox.h>
#include <treeviewwithleftpixmapdelegate.h>
#include <vexohandler.h>

#include <QCoreApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHoverEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionButton>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <utility>

namespace VexoTool {

namespace {

const char kRedButtonStyle[]
    = "QPushButton\n{\n    background-color:#f74248;\n    border-radius:2px;\n    color:white;\n}\n"
      "QPushButton:hover,\nQPushButton:focus\n{\n\tbackground-color:#d11f24;\n"
      "    border-radius:2px;\n    color:white;\n   \n}\nQPushButton:pressed\n{\n"
      "\tbackground-color:#c10f14;\n    border-radius:2px;\n    color:white;\n}\n"
      "QPushButton:disabled\n{\n\tbackground-color:#edc3c4;\n    border-radius:2px;\n"
      "    color:white;\n}";
const char kHeaderStyle[] = "QHeaderView::section{background-color:#F74248;}";
const char kTableStyle[] = "QTreeView::item:alternate:!selected:!hover{background:#FFDBDE;}"
                           // The table takes the keyboard focus; show where it is.
                           "QTreeView:focus{border:1px solid #d11f24;}";

// The first two header sections (check box and ID) always stay in front.
bool isFixedPosition(int position)
{
    return position == 0 || position == 1;
}

// The table shows the devices through this proxy, which sorts and filters them. The model keeps
// its rows in arrival order (a row's ID is its position).
class DeviceSortProxy : public QSortFilterProxyModel
{
public:
    explicit DeviceSortProxy(DeviceInfoModel *model, QObject *parent)
        : QSortFilterProxyModel(parent)
        , m_model(model)
    {
        // Like a sorted item model: the order changes only when the user sorts again, and
        // devices that come later are appended.
        setDynamicSortFilter(false);
        setSourceModel(model);
        // The sort keys are read for all rows when a sort needs them, and forgotten when rows
        // change: the next sort reads them again.
        for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(model, signal, this, &DeviceSortProxy::forgetSortKeys);
        connect(model, &QAbstractItemModel::modelReset, this, &DeviceSortProxy::forgetSortKeys);
        connect(model, &QAbstractItemModel::layoutChanged, this, &DeviceSortProxy::forgetSortKeys);
        connect(model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &from, const QModelIndex &to) {
            if (m_keysColumn >= from.column() && m_keysColumn <= to.column())
                forgetSortKeys();
        });
    }

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override
    {
        // A row's ID is its position in arrival order, so IDs sort by position: numerically
        // also past "999", and without reading the cells.
        if (left.column() == m_model->columnOf(DeviceInfoModel::ColumnId))
            return left.row() < right.row();
        const std::vector<QString> &keys = sortKeys(left.column());
        return keys[std::size_t(left.row())] < keys[std::size_t(right.row())];
    }

public:
    // Rows that arrive are filtered as they come; the rows shown keep their order.
    void setDeviceFilter(const DeviceFilter &filter)
    {
        // Most key presses in the filter box change no row's visibility (a serial number typed
        // on): then nothing needs to be announced. What is shown is compared, not what the old
        // filter says now: a shown device whose fields change stays until the text changes.
        int changed = 0;
        const int rows = m_model->rowCount();
        for (int row = 0; row < rows; ++row)
            changed += mapFromSource(m_model->index(row, 0)).isValid() != accepts(filter, row) ? 1 : 0;
        m_filter = filter;
        if (changed == 0)
            return;
        // Many rows shown or hidden at once go as one change of the layout: a removal or
        // insertion per run of scattered rows would cost the table more than laying out all the
        // rows shown once.
        if (changed > kRowsToShowOrHideOneByOne)
            invalidate();
        else
            invalidateFilter();
    }
    const DeviceFilter &deviceFilter() const { return m_filter; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override
    {
        return sourceParent.isValid() || accepts(m_filter, sourceRow);
    }

public:
    /** Reads the fields of all rows for the filter, before the first key press needs them. */
    void prepareFilterFields() const
    {
        for (int row = 0; row < m_model->rowCount(); ++row)
            filterFields(row);
    }

private:
    static constexpr int kRowsToShowOrHideOneByOne = 64;

    bool accepts(const DeviceFilter &filter, int sourceRow) const
    {
        return filter.isEmpty() || filter.matches(filterFields(sourceRow));
    }

    // Each row's fields are read and prepared once, not on every key press in the filter box.
    const DeviceFilter::Prepared &filterFields(int sourceRow) const { return m_model->filterFields(sourceRow); }

    // The keys of all rows for one column, read once per sort: comparing them is what sorting
    // thousands of rows spends its time on.
    const std::vector<QString> &sortKeys(int column) const
    {
        const std::size_t rows = std::size_t(m_model->rowCount());
        if (m_keysColumn != column || m_keys.size() != rows) {
            m_keys.resize(rows);
            for (std::size_t row = 0; row < rows; ++row)
                m_keys[row] = m_model->sortKey(int(row), column);
            m_keysColumn = column;
        }
        return m_keys;
    }

    void forgetSortKeys()
    {
        m_keys.clear();
        m_keysColumn = -1;
    }

    DeviceInfoModel *m_model;
    DeviceFilter m_filter;
    mutable std::vector<QString> m_keys; // by source row, of column m_keysColumn
    mutable int m_keysColumn = -1;
};

// The table's header, with a check box in the check column's section while batch operations are
// on: it shows whether all, some or none of the rows are checked, and a click on the section
// checks all rows, or unchecks them all when all are checked. The section then does not sort.
class CheckBoxHeader : public QHeaderView
{
public:
    explicit CheckBoxHeader(QWidget *parent)
        : QHeaderView(Qt::Horizontal, parent)
    {
        // As the view's own header would be.
        setSectionsClickable(true);
        setSectionsMovable(true);
        setStretchLastSection(true);
        setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }

    void setCheckSection(int logicalIndex) { m_checkSection = logicalIndex; }
    void setOnCheckClicked(std::function<void()> onClicked) { m_onCheckClicked = std::move(onClicked); }

    void setCheckBoxShown(bool shown)
    {
        m_checkBoxShown = shown;
        updateSection(m_checkSection);
    }
    bool isCheckBoxShown() const { return m_checkBoxShown; }

    void setCheckState(Qt::CheckState state)
    {
        if (m_checkState == state)
            return;
        m_checkState = state;
        updateSection(m_checkSection);
    }
    Qt::CheckState checkState() const { return m_checkState; }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override
    {
        painter->save();
        QHeaderView::paintSection(painter, rect, logicalIndex);
        painter->restore();
        if (!m_checkBoxShown || logicalIndex != m_checkSection)
            return;
        QStyleOptionButton option;
        option.initFrom(this);
        const int w = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this);
        const int h = style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this);
        option.rect = QRect(rect.x() + (rect.width() - w) / 2, rect.y() + (rect.height() - h) / 2, w, h);
        option.state = QStyle::State_Enabled
                       | (m_checkState == Qt::Checked            ? QStyle::State_On
                          : m_checkState == Qt::PartiallyChecked ? QStyle::State_NoChange
                                                                 : QStyle::State_Off);
        // On the red section the box needs its own white ground, as in the rows.
        painter->fillRect(option.rect, Qt::white);
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, painter, this);
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        m_pressedOnCheck = onCheckSection(event);
        if (!m_pressedOnCheck)
            QHeaderView::mousePressEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (!std::exchange(m_pressedOnCheck, false)) {
            QHeaderView::mouseReleaseEvent(event);
            return;
        }
        if (onCheckSection(event) && m_onCheckClicked)
            m_onCheckClicked();
    }

    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        // A quick second click toggles again instead of sorting.
        if (onCheckSection(event)) {
            m_pressedOnCheck = true;
            return;
        }
        QHeaderView::mouseDoubleClickEvent(event);
    }

private:
    bool onCheckSection(const QMouseEvent *event) const
    {
        return m_checkBoxShown && event->button() == Qt::LeftButton
               && logicalIndexAt(event->position().toPoint()) == m_checkSection;
    }

    std::function<void()> m_onCheckClicked;
    int m_checkSection = 0;
    bool m_checkBoxShown = false;
    bool m_pressedOnCheck = false;
    Qt::CheckState m_checkState = Qt::Unchecked;
};

DeviceSortProxy *sortProxy(QSortFilterProxyModel *proxy)
{
    return static_cast<DeviceSortProxy *>(proxy);
}

CheckBoxHeader *checkBoxHeader(QTreeView *table)
{
    return static_cast<CheckBoxHeader *>(table->header());
}

// The table's delegate: item pixmaps (the warning sign of an unverified device) sit at the left,
// centred in the row's height.
class DeviceTableDelegate : public aptui::TreeViewWithLeftPixmapDelegate
{
public:
    using aptui::TreeViewWithLeftPixmapDelegate::TreeViewWithLeftPixmapDelegate;

    // Serial numbers differ at their end and begin with the model: a narrow column keeps both
    // ends (the whole number is in the cell's tool tip).
    void setMiddleElidedColumn(int column) { m_middleElidedColumn = column; }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        aptui::TreeViewWithLeftPixmapDelegate::initStyleOption(option, index);
        if (index.column() == m_middleElidedColumn)
            option->textElideMode = Qt::ElideMiddle;
    }

    int PixmapAlignment(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return Qt::AlignLeft | Qt::AlignVCenter;
    }

private:
    int m_middleElidedColumn = -1;
};

// A dotted IPv4 address of four decimal parts 0 to 255; a device's web page is opened only for
// such a text, never for whatever host name a device on the network claims.
bool isDottedIPv4(const QString &text)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != 4)
        return false;
    for (const QString &part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return false;
        for (const QChar c : part) {
            if (c < u'0' || c > u'9')
                return false;
        }
        if (part.toInt() > 255)
            return false;
    }
    return true;
}

// The modify panel writes the translated "Succeed" of its own context; accept that, this page's
// translation and the untranslated text, so a translation difference cannot lose a result.
bool isSucceeded(const QString &result)
{
    return result == DeviceDisplayPage::tr("Succeed")
           || result == QCoreApplication::translate("VexoTool::DeviceModifyPage", "Succeed")
           || result == QLatin1String("Succeed");
}

// Widens the columns whose header text would be cut at its start width, in the font and the
// language the table finally shows (known once it is polished, before it is first shown).
void fitColumnsToHeaders(QTreeView *table)
{
    QHeaderView *header = table->header();
    for (int column = 0; column < header->count(); ++column) {
        const int needed = header->sectionSizeHint(column);
        if (header->sectionSize(column) < needed)
            header->resizeSection(column, needed);
    }
}

} // namespace

DeviceDisplayPage::DeviceDisplayPage(DeviceStore *store, VEXO::VexoHandler *discovery, QWidget *parent,
                                     const UserWritableFile &columnFile)
    : QWidget(parent)
    , m_store(store)
    , m_discovery(discovery)
{
    Q_ASSERT(m_store && m_discovery);
    registerDiscoveryMetaTypes();
    registerModifyPageMetaType();
    setupForm();
    setupTable(columnFile);
    connect(m_btnExportDeviceInfo, &QPushButton::clicked, this, &DeviceDisplayPage::onSaveDeviceInfoToExcel);
    connect(m_tableViewVexo->header(), &QHeaderView::sectionClicked, this, &DeviceDisplayPage::onSortTable);
    connect(m_btnRefreshDeviceInfo, &QPushButton::clicked, this, &DeviceDisplayPage::onManualUpdate);
    connect(m_model, &DeviceInfoModel::checkStateChanged, this, &DeviceDisplayPage::onItemCheckChanged);
    connect(m_model, &DeviceInfoModel::addressConflictsChanged, this, &DeviceDisplayPage::updateCount);
    connect(m_tableViewVexo, &QAbstractItemView::doubleClicked, this, &DeviceDisplayPage::onDoubleClickAction);
    connect(m_tableViewVexo->header(), &QHeaderView::sectionMoved, this, &DeviceDisplayPage::onHeaderCountChanged);
    connect(m_tableViewVexo->header(), &QHeaderView::sectionPressed, this, &DeviceDisplayPage::onHeaderPress);
    connect(m_btnConfigReset, &QPushButton::clicked, this, &DeviceDisplayPage::onConfigResetPassword);
    connect(m_btnConfigExportFile, &QPushButton::clicked, this, &DeviceDisplayPage::onConfigExportFile);

    m_tableViewVexo->installEventFilter(this);
    m_tableViewVexo->viewport()->installEventFilter(this);
    m_tableViewVexo->setMouseTracking(true);
    m_tableViewVexo->setAttribute(Qt::WA_Hover);
    m_tableViewVexo->setAlternatingRowColors(true);
    m_tableViewVexo->ShowGridLine(false);

    // Export and the batch flows are shown with batch operations; the selection reports enable or
    // disable them.
    for (QPushButton *button : {m_btnConfigReset, m_btnExportDeviceInfo, m_btnConfigExportFile}) {
        button->setEnabled(false);
        button->hide();
    }

    m_btnConfigReset->setStyleSheet(QString::fromLatin1(kRedButtonStyle));
    m_btnConfigExportFile->setStyleSheet(QString::fromLatin1(kRedButtonStyle));
    m_tableViewVexo->header()->setStyleSheet(QString::fromLatin1(kHeaderStyle));
    m_tableViewVexo->setStyleSheet(QString::fromLatin1(kTableStyle));

    // Discovery starts with the main window: the first inquiry period runs from here.
    m_noAnswerTimer = new QTimer(this);
    m_noAnswerTimer->setSingleShot(true);
    m_noAnswerTimer->setInterval(10000);
    connect(m_noAnswerTimer, &QTimer::timeout, this, &DeviceDisplayPage::onNoAnswerTimeout);
    m_noAnswerTimer->start();
}

DeviceDisplayPage::~DeviceDisplayPage() = default;

void DeviceDisplayPage::setNoAnswerDelay(int milliseconds)
{
    m_noAnswerTimer->setInterval(milliseconds);
    if (m_noAnswerTimer->isActive())
        m_noAnswerTimer->start();
}

void DeviceDisplayPage::setActivity(const QString &text)
{
    m_labelActivity->setText(text);
    m_labelActivity->setVisible(!text.isEmpty());
}

void DeviceDisplayPage::onNoAnswerTimeout()
{
    if (m_model->rowCount() > 0)
        return;
    m_labelNoAnswer->show();
    // The library's own log names what it found on this host (adapters, reverse-path filter).
    qCWarning(lcDeviceList, "no device answered for a whole inquiry period: check the network cable, that the "
                            "adapter is in the cameras' network, and that a firewall lets in the devices' UDP answers "
                            "(see the discovery library's log for the causes it found)");
}

void DeviceDisplayPage::setupForm()
{
    setObjectName(QStringLiteral("DeviceDisplayPage"));
    setWindowTitle(tr("Form"));
    resize(658, 500);

    auto *pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);

    m_frameDeviceCount = new QFrame(this);
    m_frameDeviceCount->setObjectName(QStringLiteral("m_frameDeviceCount"));
    m_frameDeviceCount->setFixedHeight(62);
    auto *barLayout = new QHBoxLayout(m_frameDeviceCount);

    m_labelDeiceCount = new QLabel(tr("Total number of online devices:"), m_frameDeviceCount);
    m_labelDeiceCount->setObjectName(QStringLiteral("m_labelDeiceCount"));
    m_countLine = new QFrame(m_frameDeviceCount);
    m_countLine->setObjectName(QStringLiteral("m_countLine"));
    m_countLine->setFrameShape(QFrame::VLine);
    m_countLine->setFrameShadow(QFrame::Sunken);
    m_labelDeviceCountValue = new QLabel(QStringLiteral("0"), m_frameDeviceCount);
    m_labelDeviceCountValue->setObjectName(QStringLiteral("m_labelDeviceCountValue"));
    label = new QLabel(tr("TextLabel"), m_frameDeviceCount);
    label->setObjectName(QStringLiteral("label"));
    label->setFixedWidth(0);
    m_labelNoAnswer = new QLabel(tr("No device answers: check the cable and the firewall."), m_frameDeviceCount);
    m_labelNoAnswer->setObjectName(QStringLiteral("m_labelNoAnswer"));
    m_labelNoAnswer->setStyleSheet(QStringLiteral("color:#d11f24;"));
    m_labelNoAnswer->hide();
    m_labelConflicts = new QLabel(m_frameDeviceCount);
    m_labelConflicts->setObjectName(QStringLiteral("m_labelConflicts"));
    m_labelConflicts->setStyleSheet(QStringLiteral("color:#d11f24;"));
    m_labelConflicts->hide();
    m_labelActivity = new QLabel(m_frameDeviceCount);
    m_labelActivity->setObjectName(QStringLiteral("m_labelActivity"));
    m_labelActivity->hide();

    const auto makeButton = [this](const QString &name, const QString &text) {
        auto *button = new QPushButton(text, m_frameDeviceCount);
        button->setObjectName(name);
        button->setMinimumSize(90, 30);
        return button;
    };
    m_btnConfigReset = makeButton(QStringLiteral("m_btnConfigReset"), tr("Config Reset"));
    m_btnExportDeviceInfo = makeButton(QStringLiteral("m_btnExportDeviceInfo"), tr("Export"));
    m_btnExportDeviceInfo->setFocusPolicy(Qt::NoFocus);
    m_btnRefreshDeviceInfo = makeButton(QStringLiteral("m_btnRefreshDeviceInfo"), tr("Refresh"));
    m_btnRefreshDeviceInfo->setFocusPolicy(Qt::NoFocus);
    m_btnConfigExportFile = makeButton(QStringLiteral("m_btnConfigExportFile"), tr("Config Export"));

    barLayout->addWidget(m_labelDeiceCount);
    barLayout->addWidget(m_countLine);
    barLayout->addWidget(m_labelDeviceCountValue);
    barLayout->addWidget(m_labelNoAnswer);
    barLayout->addWidget(m_labelConflicts);
    barLayout->addWidget(m_labelActivity);
    barLayout->addWidget(label);
    barLayout->addStretch(1);
    barLayout->addWidget(m_btnConfigReset);
    barLayout->addWidget(m_btnExportDeviceInfo);
    barLayout->addWidget(m_btnRefreshDeviceInfo);
    barLayout->addWidget(m_btnConfigExportFile);

    m_tableViewVexo = new aKLOGUIToolkit::CTableView(this);
    m_tableViewVexo->setObjectName(QStringLiteral("m_tableViewVexo"));
    // Every flow starts in the table, so it takes the keyboard focus (arrows, Space, Enter).
    m_tableViewVexo->setFocusPolicy(Qt::StrongFocus);

    // The filter row sits between the count line and the table, and before the table in the
    // tab order: Tab goes on from the box to the table and from the table to the panel.
    m_frameFilter = new QFrame(this);
    m_frameFilter->setObjectName(QStringLiteral("m_frameFilter"));
    auto *filterLayout = new QHBoxLayout(m_frameFilter);
    filterLayout->setContentsMargins(9, 0, 9, 6);
    m_lineEditFilter = new QLineEdit(m_frameFilter);
    m_lineEditFilter->setObjectName(QStringLiteral("m_lineEditFilter"));
    //: Placeholder of the device list's filter box.
    m_lineEditFilter->setPlaceholderText(tr("Filter: serial number, MAC, model, IP address or range, version"));
    m_lineEditFilter->setToolTip(tr("Shows only the devices that match (Ctrl+F). An address range is typed as "
                                    "192.168.1.0/24 or 192.168.1.10-192.168.1.50. Esc clears the filter."));
    m_lineEditFilter->setClearButtonEnabled(true);
    // Wide enough for its placeholder in the page's language.
    m_lineEditFilter->setMinimumWidth(
        qMax(360, m_lineEditFilter->fontMetrics().horizontalAdvance(m_lineEditFilter->placeholderText()) + 48));
    m_lineEditFilter->setStyleSheet(QStringLiteral("QLineEdit{border:1px solid #cccccc;border-radius:2px;"
                                                   "padding:3px 6px;background:white;color:#333333;}"
                                                   "QLineEdit:focus{border:1px solid #d11f24;}"));
    m_labelHiddenChecked = new QLabel(m_frameFilter);
    m_labelHiddenChecked->setObjectName(QStringLiteral("m_labelHiddenChecked"));
    m_labelHiddenChecked->setStyleSheet(QStringLiteral("color:#d11f24;"));
    m_labelHiddenChecked->hide();
    m_labelFilterHint = new QLabel(m_frameFilter);
    m_labelFilterHint->setObjectName(QStringLiteral("m_labelFilterHint"));
    m_labelFilterHint->setStyleSheet(QStringLiteral("color:#d11f24;"));
    m_labelFilterHint->hide();
    auto *filterColumn = new QVBoxLayout;
    filterColumn->setSpacing(2);
    filterColumn->addWidget(m_lineEditFilter);
    filterColumn->addWidget(m_labelFilterHint);
    filterLayout->addLayout(filterColumn);
    filterLayout->addWidget(m_labelHiddenChecked, 0, Qt::AlignTop);
    filterLayout->addStretch(1);

    pageLayout->addWidget(m_frameDeviceCount);
    pageLayout->addWidget(m_frameFilter);
    pageLayout->addWidget(m_tableViewVexo, 1);
    setTabOrder(m_lineEditFilter, m_tableViewVexo);
    // The box comes first in the tab order, but the window starts in the table as before.
    m_tableViewVexo->setFocus(Qt::OtherFocusReason);

    auto *findShortcut = new QShortcut(QKeySequence::Find, this);
    connect(findShortcut, &QShortcut::activated, this, [this] {
        m_lineEditFilter->setFocus(Qt::ShortcutFocusReason);
        m_lineEditFilter->selectAll();
    });
    connect(m_lineEditFilter, &QLineEdit::textChanged, this, &DeviceDisplayPage::applyFilter);
    m_lineEditFilter->installEventFilter(this);
}

void DeviceDisplayPage::setupTable(const UserWritableFile &columnFile)
{
    m_model = new DeviceInfoModel(columnFile, this);
    m_protocolRows = std::make_unique<ProtocolRows>(m_store, m_model);
    m_proxy = new DeviceSortProxy(m_model, this);
    auto *delegate = new DeviceTableDelegate(m_tableViewVexo);
    delegate->setMiddleElidedColumn(m_model->columnOf(DeviceInfoModel::ColumnSerialNumber));
    m_delegate = delegate;
    m_tableViewVexo->setItemDelegate(m_delegate);
    // The snapshot view: thumbnails in the ID column, asked for as rows come into view.
    m_thumbnails = new SnapshotThumbnails(this);
    m_thumbnailDelegate = new SnapshotThumbnailDelegate(
        m_delegate, m_thumbnails,
        [this](const QModelIndex &index) { return deviceInfoOfRow(m_proxy->mapToSource(index).row()); }, this);
    m_thumbnailTimer = new QTimer(this);
    m_thumbnailTimer->setSingleShot(true);
    m_thumbnailTimer->setInterval(100);
    connect(m_thumbnailTimer, &QTimer::timeout, this, &DeviceDisplayPage::requestVisibleThumbnails);
    connect(m_thumbnails, &SnapshotThumbnails::thumbnailChanged, m_tableViewVexo->viewport(),
            qOverload<>(&QWidget::update));
    connect(m_tableViewVexo->verticalScrollBar(), &QScrollBar::valueChanged, m_thumbnailTimer,
            qOverload<>(&QTimer::start));
    const auto soon = [this] {
        if (m_snapshotView)
            m_thumbnailTimer->start();
    };
    connect(m_proxy, &QAbstractItemModel::layoutChanged, m_thumbnailTimer, soon);
    connect(m_proxy, &QAbstractItemModel::modelReset, m_thumbnailTimer, soon);
    connect(m_proxy, &QAbstractItemModel::rowsInserted, m_thumbnailTimer, soon);
    connect(m_proxy, &QAbstractItemModel::rowsRemoved, m_thumbnailTimer, soon);
    // A row identified in place (after a sign-in) becomes a camera with a snapshot.
    connect(m_proxy, &QAbstractItemModel::dataChanged, m_thumbnailTimer, soon);
    auto *header = new CheckBoxHeader(m_tableViewVexo);
    m_tableViewVexo->setHeader(header);
    m_tableViewVexo->setModel(m_proxy);
    header->setCheckSection(m_model->columnOf(DeviceInfoModel::ColumnCheck));
    header->setOnCheckClicked([this] { onHeaderCheckClicked(); });
    // Devices that come later are unchecked: all rows shown are then no longer checked, unless
    // the filter hides the newcomers (the proxy has taken them in by now).
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &, int first, int last) {
        if (headerCheckState() != Qt::Checked)
            return;
        for (int row = first; row <= last; ++row) {
            if (isShown(row)) {
                checkBoxHeader(m_tableViewVexo)->setCheckState(Qt::PartiallyChecked);
                return;
            }
        }
    });

    m_tableViewVexo->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableViewVexo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableViewVexo->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (int logical = 0; logical < DeviceInfoModel::LogicalColumnCount; ++logical)
        m_tableViewVexo->setColumnWidth(m_model->columnOf(logical), DeviceInfoModel::startWidth(logical));

    m_tableViewVexo->setSortingEnabled(true);
    m_tableViewVexo->sortByColumn(m_model->columnOf(DeviceInfoModel::ColumnId), Qt::AscendingOrder);
}

QList<int> DeviceDisplayPage::allCheckedRows() const
{
    return m_model->checkedRows();
}

bool DeviceDisplayPage::isShown(int row) const
{
    return m_proxy->mapFromSource(m_model->index(row, 0)).isValid();
}

QList<int> DeviceDisplayPage::checkedRows() const
{
    return shownInViewOrder(allCheckedRows());
}

QList<int> DeviceDisplayPage::shownInViewOrder(QList<int> rows) const
{
    // Hidden rows are left out: nothing is done on a device the user does not see.
    if (!sortProxy(m_proxy)->deviceFilter().isEmpty())
        rows.removeIf([this](int row) { return !isShown(row); });
    if (rows.size() > 1) {
        // In the order the table shows them.
        const int column = m_model->columnOf(DeviceInfoModel::ColumnCheck);
        std::stable_sort(rows.begin(), rows.end(), [this, column](int a, int b) {
            return m_proxy->mapFromSource(m_model->index(a, column)).row()
                   < m_proxy->mapFromSource(m_model->index(b, column)).row();
        });
    }
    return rows;
}

void DeviceDisplayPage::applyFilter(const QString &text)
{
    // Filtering never changes which rows are checked: one look at the check boxes will do.
    const QList<int> checked = allCheckedRows();
    const QList<int> before = shownInViewOrder(checked);
    const DeviceFilter filter(text);
    sortProxy(m_proxy)->setDeviceFilter(filter);
    // A range typed wrongly would otherwise end in a silent "0 of N".
    m_labelFilterHint->setText(filter.formatHint());
    m_labelFilterHint->setVisible(!filter.formatHint().isEmpty());
    updateCount();
    const QList<int> after = shownInViewOrder(checked);
    if (after != before) {
        report(after, checked);
        m_lastCheckedCount = int(after.size());
    } else {
        showCheckState(checked);
    }
    // The current row stays where it was when the filter shows it; otherwise the top row.
    if (!m_tableViewVexo->currentIndex().isValid() && m_proxy->rowCount() > 0)
        m_tableViewVexo->setCurrentIndex(m_proxy->index(0, m_model->columnOf(DeviceInfoModel::ColumnCheck)));
}

void DeviceDisplayPage::setSnapshotSource(std::shared_ptr<SnapshotSource> source)
{
    m_thumbnails->setSource(std::move(source));
    if (m_snapshotView)
        m_thumbnailTimer->start();
}

void DeviceDisplayPage::setSnapshotView(bool on)
{
    if (on == m_snapshotView)
        return;
    m_snapshotView = on;
    const int column = m_model->columnOf(DeviceInfoModel::ColumnId);
    QHeaderView *header = m_tableViewVexo->header();
    const int thumbnailWidth = SnapshotThumbnails::kSize.width() + 6;
    if (on) {
        m_tableViewVexo->setItemDelegateForColumn(column, m_thumbnailDelegate);
        header->resizeSection(column, header->sectionSize(column) + thumbnailWidth);
        m_thumbnailTimer->start();
    } else {
        m_tableViewVexo->setItemDelegateForColumn(column, nullptr);
        header->resizeSection(column, qMax(header->minimumSectionSize(), header->sectionSize(column) - thumbnailWidth));
        m_thumbnails->clear();
    }
    // Rows take the thumbnail's height, or give it back.
    m_tableViewVexo->doItemsLayout();
}

void DeviceDisplayPage::requestVisibleThumbnails()
{
    if (!m_snapshotView)
        return;
    QList<DeviceInfo> visible;
    const QWidget *viewport = m_tableViewVexo->viewport();
    for (QModelIndex index = m_tableViewVexo->indexAt(QPoint(1, 1));
         index.isValid() && m_tableViewVexo->visualRect(index).top() < viewport->height();
         index = m_tableViewVexo->indexBelow(index))
        visible.append(deviceInfoOfRow(m_proxy->mapToSource(index).row()));
    m_thumbnails->setWanted(visible);
}

DeviceInfo DeviceDisplayPage::deviceInfoOfRow(int row) const
{
    const auto text = [this, row](int logical) {
        return m_model->text(row, logical);
    };
    DeviceInfo info;
    info.strIndex = text(DeviceInfoModel::ColumnId);
    info.strDeviceType = text(DeviceInfoModel::ColumnDeviceType);
    info.strIPv4Address = text(DeviceInfoModel::ColumnIPv4Address);
    // The key as the store has it: ONVIF rows show "—" where their record has nothing.
    m_model->keyOfRow(row, info.strSerialNumber, info.strMAC);
    info.protocol = m_model->protocolOfRow(row);
    info.strUnavailable = m_model->statusToolTip(row);
    return info;
}

void DeviceDisplayPage::updateCount()
{
    const int total = m_model->rowCount();
    if (sortProxy(m_proxy)->deviceFilter().isEmpty())
        m_labelDeviceCountValue->setText(QString::number(total));
    else
        //: The count line while the filter is on: devices shown of all devices listed.
        m_labelDeviceCountValue->setText(tr("%1 of %2").arg(m_proxy->rowCount()).arg(total));
    const int conflicts = m_model->addressConflictCount();
    if (conflicts > 0)
        //: In the count line: how many IPv4 addresses are used by more than one device.
        m_labelConflicts->setText(tr("%n address conflicts", "", conflicts));
    m_labelConflicts->setVisible(conflicts > 0);
}

void DeviceDisplayPage::setBarButtonsEnabled(bool enabled)
{
    m_btnConfigReset->setEnabled(enabled);
    m_btnExportDeviceInfo->setEnabled(enabled);
    m_btnConfigExportFile->setEnabled(enabled);
}

void DeviceDisplayPage::reportNoRow()
{
    setBarButtonsEnabled(false);
    emit signalCurrentSelectionModelChange(ModifySingle, {});
}

void DeviceDisplayPage::reportOneRow(int row)
{
    setBarButtonsEnabled(true);
    const DeviceInfo info = deviceInfoOfRow(row);
    VEXO_DEVICE_INFO record{}; // a device gone from the store counts as activated
    m_store->get(info.strSerialNumber, info.strMAC, record);
    // Any nonzero inactive byte means "not activated"; the panel must always hear of the new
    // selection, or it would go on acting on the previously checked device. ONVIF devices have
    // no activation here.
    const bool activated = record.inactive == 0 || info.protocol == DeviceProtocol::Onvif;
    emit signalCurrentSelectionModelChange(activated ? ModifySingle : ActivateSingle, {info});
}

void DeviceDisplayPage::reportRows(const QList<int> &rows)
{
    setBarButtonsEnabled(true);
    QVector<DeviceInfo> devices;
    devices.reserve(rows.size());
    bool anyActivated = false;
    bool anyInactive = false;
    for (const int row : rows) {
        const DeviceInfo info = deviceInfoOfRow(row);
        VEXO_DEVICE_INFO record{};
        m_store->get(info.strSerialNumber, info.strMAC, record);
        if (record.inactive == 0 || info.protocol == DeviceProtocol::Onvif)
            anyActivated = true;
        else
            anyInactive = true;
        devices.append(info);
    }
    const ModifyPage kind = anyActivated && anyInactive ? ActivateMixed : anyInactive ? ActivateBatch : ModifyBatch;
    emit signalCurrentSelectionModelChange(kind, devices);
}

void DeviceDisplayPage::report(const QList<int> &rows, const QList<int> &allChecked)
{
    showCheckState(allChecked);
    if (rows.isEmpty())
        reportNoRow();
    else if (rows.size() == 1)
        reportOneRow(rows.first());
    else
        reportRows(rows);
}

void DeviceDisplayPage::recount()
{
    const QList<int> all = allCheckedRows();
    const QList<int> rows = shownInViewOrder(all);
    if (rows.isEmpty() && m_lastCheckedCount == 0) {
        // Nothing was checked and nothing is: the panel shows its empty view already, and
        // hundreds of devices arriving together must not reset it once each.
        showCheckState(all);
        return;
    }
    report(rows, all);
    m_lastCheckedCount = int(rows.size());
}

void DeviceDisplayPage::onDeviceLogin(const VEXO_DEVICE_INFO &struDevInfo)
{
    applyDepartures(); // a device that left and came back is listed anew
    if (m_protocolRows->online(struDevInfo)) {
        updateCount();
        m_labelNoAnswer->hide();
        recount();
        return;
    }
    {
        KVT_Guard guard(m_store->mutex());
        if (m_store->containsMac(fieldText(struDevInfo.macAddress)))
            return; // listed already
        m_store->add(struDevInfo);
    }
    m_model->addDevice(struDevInfo);
    updateCount();
    m_labelNoAnswer->hide();
}

void DeviceDisplayPage::onDeviceLogout(const VEXO_DEVICE_INFO &struDevInfo)
{
    // One side of a device that answers both protocols leaving changes its row, not the list.
    if (m_protocolRows->offline(struDevInfo)) {
        recount();
        return;
    }
    // The discovery service queues one event per device. Collect the departures that are queued
    // together and apply them once, after the last of them: the rows are then renumbered and
    // the checked rows counted and reported once, not once per device.
    m_departures.append(struDevInfo);
    if (m_departures.size() == 1)
        QMetaObject::invokeMethod(this, &DeviceDisplayPage::applyDepartures, Qt::QueuedConnection);
}

void DeviceDisplayPage::applyDepartures()
{
    if (m_departures.isEmpty())
        return;
    const QVector<VEXO_DEVICE_INFO> departures = std::exchange(m_departures, {});
    m_model->removeDevices(departures);
    for (const VEXO_DEVICE_INFO &record : departures)
        m_store->remove(record);
    updateCount();
    recount();
}

void DeviceDisplayPage::onDeviceUpdate(const VEXO_DEVICE_INFO &struDevInfo)
{
    applyDepartures();
    if (m_protocolRows->update(struDevInfo))
        return;
    m_model->updateDevice(struDevInfo);
    m_store->update(struDevInfo);
}

void DeviceDisplayPage::onManualUpdate()
{
    m_departures.clear(); // the list is emptied anyway
    m_protocolRows->clear();
    m_discovery->clearup();
    m_store->clear();
    m_model->removeRows(0, m_model->rowCount());
    updateCount();
    reportNoRow();
    updateHeaderCheckState();
    m_lastCheckedCount = 0;
    m_noAnswerTimer->start();
    if (!m_discovery->sendInquiry())
        qCWarning(lcDeviceList, "the inquiry after a refresh failed (error %u)", m_discovery->getLastError());
}

void DeviceDisplayPage::onDevicesModifyResult(const QVector<DeviceInfo> &vecDeviceInfo)
{
    applyDepartures();
    for (const DeviceInfo &info : vecDeviceInfo) {
        VEXO_DEVICE_INFO record{};
        if (isSucceeded(info.strResult) && m_store->get(info.strSerialNumber, info.strMAC, record))
            m_model->updateDevice(record);
    }
}

void DeviceDisplayPage::onDevicesActiveResult(const QVector<DeviceInfo> &vecDeviceInfo)
{
    onDevicesModifyResult(vecDeviceInfo);
    recount();
}

void DeviceDisplayPage::onSortTable(int iIndex)
{
    QHeaderView *header = m_tableViewVexo->header();
    header->setSortIndicatorShown(true);
    const Qt::SortOrder order = header->sortIndicatorOrder();
    header->setSortIndicator(iIndex, order);
    m_proxy->sort(iIndex, order);
}

void DeviceDisplayPage::onItemCheckChanged(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;

    if (m_batchOperations) {
        // Every change of a check box changes the checked rows.
        recount();
        return;
    }

    // The page's own unchecking does not come back here (setRowsChecked() announces no click).
    QList<int> others = m_model->checkedRows();
    others.removeOne(row);
    if (!others.isEmpty()) {
        m_model->setRowsChecked(others, false);
        m_lastCheckedCount = 0;
    }

    const QList<int> checked = checkedRows();
    if (checked.isEmpty() && m_lastCheckedCount != 0) {
        reportNoRow();
        m_lastCheckedCount = 0;
    } else if (checked.size() == 1 && m_lastCheckedCount != 1) {
        reportOneRow(checked.first());
        m_lastCheckedCount = 1;
    }
    updateHeaderCheckState();
}

void DeviceDisplayPage::setBatchOperations(bool on)
{
    if (m_batchOperations == on)
        return;
    m_batchOperations = on;
    for (QPushButton *button : {m_btnConfigReset, m_btnExportDeviceInfo, m_btnConfigExportFile})
        button->setVisible(on);
    checkBoxHeader(m_tableViewVexo)->setCheckBoxShown(on);
    const QList<int> checked = allCheckedRows();
    if (!on && checked.size() > 1)
        setRowsChecked(checked, false);
    else
        updateHeaderCheckState();
}

Qt::CheckState DeviceDisplayPage::headerCheckState() const
{
    return checkBoxHeader(m_tableViewVexo)->checkState();
}

void DeviceDisplayPage::updateHeaderCheckState()
{
    showCheckState(allCheckedRows());
}

void DeviceDisplayPage::showCheckState(const QList<int> &allChecked)
{
    // Of the rows shown.
    const int rows = m_proxy->rowCount();
    int checked = int(allChecked.size());
    if (!sortProxy(m_proxy)->deviceFilter().isEmpty()) {
        checked = 0;
        for (const int row : allChecked)
            checked += isShown(row) ? 1 : 0;
    }
    const int hidden = int(allChecked.size()) - checked;
    if (hidden > 0)
        //: Beside the filter box: checked devices that the filter does not show are left out of the flows.
        m_labelHiddenChecked->setText(tr("%n checked rows are hidden by the filter", "", hidden));
    m_labelHiddenChecked->setVisible(hidden > 0);
    checkBoxHeader(m_tableViewVexo)
        ->setCheckState(checked == 0      ? Qt::Unchecked
                        : checked == rows ? Qt::Checked
                                          : Qt::PartiallyChecked);
}

void DeviceDisplayPage::onHeaderCheckClicked()
{
    if (!m_batchOperations)
        return;
    // The rows shown; rows the filter hides keep their check.
    QList<int> rows;
    rows.reserve(m_proxy->rowCount());
    for (int row = 0; row < m_proxy->rowCount(); ++row)
        rows.append(m_proxy->mapToSource(m_proxy->index(row, 0)).row());
    // All checked: uncheck all; otherwise check all.
    setRowsChecked(rows, headerCheckState() != Qt::Checked);
}

void DeviceDisplayPage::setRowsChecked(const QList<int> &rows, bool checked)
{
    // One report for the whole change, not one per row.
    m_model->setRowsChecked(rows, checked);
    recount();
}

void DeviceDisplayPage::toggleRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_anchor = QPersistentModelIndex(m_model->index(row, m_model->columnOf(DeviceInfoModel::ColumnCheck)));
    // Through the model, so that the list's rules for checked rows apply as for a click.
    m_model->setCheckState(row, m_model->checkState(row) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

bool DeviceDisplayPage::handleTableKey(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Select: {
        QModelIndex current = m_tableViewVexo->currentIndex();
        if (!current.isValid()) {
            // Rows that came after the table took the focus: start at the top.
            current = m_proxy->index(0, m_model->columnOf(DeviceInfoModel::ColumnCheck));
            if (!current.isValid())
                return true;
            m_tableViewVexo->setCurrentIndex(current);
        }
        toggleRow(m_proxy->mapToSource(current).row());
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Never the web page: that opens only on a double click of the address.
        emit signalEnterPressed();
        return true;
    default:
        return false;
    }
}

bool DeviceDisplayPage::handleTableMouse(QMouseEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && std::exchange(m_swallowRelease, false))
        return true;
    if (event->type() != QEvent::MouseButtonPress || event->button() != Qt::LeftButton)
        return false;
    const QModelIndex index = m_tableViewVexo->indexAt(event->position().toPoint());
    if (!index.isValid())
        return false;
    const QModelIndex source = m_proxy->mapToSource(index);
    if (!m_batchOperations || !(event->modifiers() & Qt::ShiftModifier) || !m_anchor.isValid()) {
        m_anchor = QPersistentModelIndex(source);
        return false;
    }
    // Shift with a click checks the rows from the last clicked row to this one, as the table
    // shows them; the rows outside stay as they are.
    const int from = m_proxy->mapFromSource(m_anchor).row();
    const int to = index.row();
    QList<int> rows;
    for (int row = qMin(from, to); row <= qMax(from, to); ++row)
        rows.append(m_proxy->mapToSource(m_proxy->index(row, 0)).row());
    m_tableViewVexo->setCurrentIndex(index);
    m_swallowRelease = true;
    setRowsChecked(rows, true);
    return true;
}

void DeviceDisplayPage::onDoubleClickAction(const QModelIndex &miIndex)
{
    // The table reports indexes of its sorted view; callers may also pass model indexes.
    const QModelIndex index = miIndex.model() == m_proxy ? m_proxy->mapToSource(miIndex) : miIndex;
    if (!index.isValid() || index.model() != m_model
        || index.column() != m_model->columnOf(DeviceInfoModel::ColumnIPv4Address))
        return;
    const int row = index.row();
    const QString address = m_model->text(row, DeviceInfoModel::ColumnIPv4Address);
    QString port = m_model->text(row, DeviceInfoModel::ColumnHttpPort).trimmed();
    if (port == DeviceInfoModel::tr("N/A"))
        port = QStringLiteral("80");
    bool portOk = false;
    const uint portNumber = port.toUInt(&portOk);
    if (!isDottedIPv4(address) || !portOk || portNumber == 0 || portNumber > 65535) {
        qCWarning(lcDeviceList, "not opening the web page of \"%s\" port \"%s\": not an IPv4 address and port",
                  qPrintable(address), qPrintable(port));
        return;
    }
    const QUrl url(QStringLiteral("http://") + address + u':' + port);
    if (QDesktopServices::openUrl(url))
        return;
    // Without a browser (or one the desktop can start) the address is still of use.
    aptui::LinkMessageBox message(tr("Web Page"),
                                  //: %1 is a device's web address, such as http://192.168.1.64:80
                                  tr("No web browser could open the device's web page. Copy its address into a "
                                     "browser:\n%1")
                                      .arg(url.toString()),
                                  this);
    QPushButton *copy = message.addActionButton(tr("Copy Address"), QStringLiteral("m_btnCopyAddress"));
    connect(copy, &QPushButton::clicked, &message, [&message, url] {
        QGuiApplication::clipboard()->setText(url.toString());
        message.accept();
    });
    emit signalCoverMainPage();
    message.exec();
    emit signalDisCoverMainPage();
}

void DeviceDisplayPage::onHeaderPress(int iLogicalIndex)
{
    QHeaderView *header = m_tableViewVexo->header();
    if (isFixedPosition(iLogicalIndex)) {
        header->setSectionsMovable(false);
        return;
    }
    m_headerState = header->saveState();
    header->setSectionsMovable(true);
}

void DeviceDisplayPage::onHeaderCountChanged(int iLogicalIndex, int iOldVisualIndex, int iNewVisualIndex)
{
    if (iLogicalIndex < 0 || m_undoingHeaderMove)
        return;
    if (!isFixedPosition(iOldVisualIndex) && !isFixedPosition(iNewVisualIndex)) {
        m_model->moveColumn(iOldVisualIndex, iNewVisualIndex);
        return;
    }
    m_undoingHeaderMove = true;
    QHeaderView *header = m_tableViewVexo->header();
    if (m_headerState.isEmpty() || !header->restoreState(m_headerState))
        header->moveSection(iNewVisualIndex, iOldVisualIndex);
    m_undoingHeaderMove = false;
}

bool DeviceDisplayPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lineEditFilter && event->type() == QEvent::FocusIn)
        sortProxy(m_proxy)->prepareFilterFields(); // the user is about to type
    if (watched == m_lineEditFilter && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Escape:
            if (m_lineEditFilter->text().isEmpty())
                m_tableViewVexo->setFocus(Qt::OtherFocusReason);
            m_lineEditFilter->clear();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
            // On to the rows found.
            m_tableViewVexo->setFocus(Qt::OtherFocusReason);
            return true;
        default:
            break;
        }
    }
    if (watched == m_tableViewVexo && event->type() == QEvent::Show && !m_columnsFitted) {
        m_columnsFitted = true;
        fitColumnsToHeaders(m_tableViewVexo);
    } else if (watched == m_tableViewVexo && event->type() == QEvent::HoverMove) {
        const QPoint position = static_cast<QHoverEvent *>(event)->position().toPoint();
        updateHoverCursor(m_tableViewVexo->viewport()->mapFrom(m_tableViewVexo, position));
    } else if (watched == m_tableViewVexo->viewport() && event->type() == QEvent::MouseMove) {
        updateHoverCursor(static_cast<QMouseEvent *>(event)->position().toPoint());
    } else if (watched == m_tableViewVexo && event->type() == QEvent::KeyPress) {
        if (handleTableKey(static_cast<QKeyEvent *>(event)))
            return true;
    } else if (watched == m_tableViewVexo->viewport()
               && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
        if (handleTableMouse(static_cast<QMouseEvent *>(event)))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DeviceDisplayPage::updateHoverCursor(const QPoint &viewportPosition)
{
    const QModelIndex index = m_tableViewVexo->indexAt(viewportPosition);
    const bool overAddress = index.isValid() && index.column() == m_model->columnOf(DeviceInfoModel::ColumnIPv4Address);
    setCursor(overAddress ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void DeviceDisplayPage::onSaveDeviceInfoToExcel()
{
    // The checked rows from top to bottom as the table shows them; none still gives a workbook
    // with the column names.
    DevicesInfoSavePage dialog(m_model, checkedRows());
    dialog.setWindowIcon(QIcon(QStringLiteral(":/VEXOTool/Logo/logo_large.png")));
    emit signalCoverMainPage();
    dialog.exec();
    emit signalDisCoverMainPage();
}

namespace {

// The ticked devices, top to bottom as the table shows them, with the cells the batch flows read.
QVector<BatchDevice> checkedBatchDevices(const DeviceDisplayPage &page)
{
    const DeviceInfoModel *model = page.model();
    const auto cellText = [model](int row, int logicalColumn) {
        return model->text(row, logicalColumn);
    };
    QVector<BatchDevice> devices;
    for (int row : page.checkedRows()) {
        const VEXO_DEVICE_INFO *record = model->recordOfRow(row);
        devices.append({cellText(row, DeviceInfoModel::ColumnSerialNumber),
                        cellText(row, DeviceInfoModel::ColumnStartTime),
                        cellText(row, DeviceInfoModel::ColumnSoftVersion), record ? *record : VEXO_DEVICE_INFO{}});
    }
    return devices;
}

} // namespace

void DeviceDisplayPage::onConfigResetPassword()
{
    emit signalCoverMainPage();
    BatchRecovery::resetPasswords(
        *m_discovery, this, [this] { return checkedBatchDevices(*this); }, m_journal);
    emit signalDisCoverMainPage();
}

void DeviceDisplayPage::onConfigExportFile()
{
    const QVector<BatchDevice> devices = checkedBatchDevices(*this);
    if (devices.isEmpty())
        return;
    emit signalCoverMainPage();
    BatchRecovery::exportKeys(*m_discovery, this, devices, m_journal);
    emit signalDisCoverMainPage();
}

} // namespace VexoTool
