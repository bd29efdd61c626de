// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicemodifyresultpage.h"

#include <errorexplanation.h>
#include <treeviewwithleftpixmapdelegate.h>

#include <akloguitoolkit/ctableview.h>

#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMap>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace VexoTool {

namespace {

constexpr int ColumnCount = 5;
// The serial number column is wide enough for the longest serial numbers the devices report.
constexpr int ColumnWidths[ColumnCount] = {50, 120, 120, 230, 175};
const QColor CellColour(0x66, 0x66, 0x66);

QStandardItem *cell(const QString &text)
{
    auto *item = new QStandardItem(text);
    item->setEditable(false);
    item->setForeground(CellColour);
    return item;
}

} // namespace

DeviceModifyResultPage::DeviceModifyResultPage(QWidget *parent)
    : aptui::BaseDialog(false, false, false, false, true, true, false, parent)
{
    setTitle(tr("Network Change Results"));
    setWindowIcon(QIcon(QStringLiteral(":/VEXOTool/Logo/logo_large.png")));
    resize(700, 500);

    auto *content = new QWidget();
    m_labelDeviceAll = new QLabel(content);
    m_labelDeviceAll->setObjectName(QStringLiteral("m_labelDeviceAll"));
    m_ResultSplit = new QFrame(content);
    m_ResultSplit->setObjectName(QStringLiteral("m_ResultSplit"));
    m_ResultSplit->setFrameShape(QFrame::VLine);
    m_ResultSplit->setFixedSize(1, 14);
    m_labelPic = new QLabel(content);
    m_labelPic->setObjectName(QStringLiteral("m_labelPic"));
    m_labelDeviceFail = new QLabel(content);
    m_labelDeviceFail->setObjectName(QStringLiteral("m_labelDeviceFail"));

    auto *counters = new QHBoxLayout();
    counters->setContentsMargins(20, 10, 20, 10);
    counters->setSpacing(12);
    counters->addWidget(m_labelDeviceAll);
    counters->addWidget(m_ResultSplit);
    counters->addWidget(m_labelPic);
    counters->addWidget(m_labelDeviceFail);
    counters->addStretch(1);

    m_model = new QStandardItemModel(0, ColumnCount, this);
    const QString headers[ColumnCount]
        = {tr("ID"), tr("Device Type"), tr("IPv4 Address"), tr("Serial Number"), tr("Modification")};
    for (int column = 0; column < ColumnCount; ++column) {
        m_model->setHorizontalHeaderItem(column, new QStandardItem(headers[column]));
        m_model->setHeaderData(column, Qt::Horizontal, int(Qt::AlignLeft | Qt::AlignVCenter), Qt::TextAlignmentRole);
    }

    m_tableViewResult = new aKLOGUIToolkit::CTableView(content);
    m_tableViewResult->setObjectName(QStringLiteral("m_tableViewResult"));
    m_tableViewResult->setModel(m_model);
    m_tableViewResult->setAlternatingRowColors(true);
    m_tableViewResult->ShowGridLine(false);
    m_tableViewResult->setItemDelegate(new aptui::TreeViewWithLeftPixmapDelegate(m_tableViewResult));
    m_tableViewResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableViewResult->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_labelExplanations = new QLabel(content);
    m_labelExplanations->setObjectName(QStringLiteral("m_labelExplanations"));
    m_labelExplanations->setWordWrap(true);
    m_labelExplanations->setContentsMargins(20, 6, 20, 0);
    m_labelExplanations->hide();

    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(counters);
    layout->addWidget(m_tableViewResult, 1);
    layout->addWidget(m_labelExplanations);
    setContentWidget(content);
}

DeviceModifyResultPage::~DeviceModifyResultPage() = default;

void DeviceModifyResultPage::setOperation(Operation operation)
{
    m_operation = operation;
    QString title = tr("Network Change Results");
    QString result = tr("Modification");
    if (operation == Operation::Activation) {
        title = tr("Activation Results");
        result = tr("Activation");
    } else if (operation == Operation::OnvifSignIn) {
        //: title of the list saying how identifying each ONVIF device went after "ONVIF Sign-In"
        title = tr("ONVIF Sign-In Results");
        //: header of the column saying whether the device was identified, or why not
        result = tr("Sign-In");
    }
    setTitle(title);
    m_model->setHeaderData(4, Qt::Horizontal, result, Qt::DisplayRole);
}

void DeviceModifyResultPage::setSummary(const QString &summary)
{
    m_labelDeviceAll->setText(summary);
    m_ResultSplit->hide();
    m_labelPic->hide();
    m_labelDeviceFail->hide();
}

void DeviceModifyResultPage::setDevices(const QVector<DeviceInfo> &devices)
{
    for (int column = 0; column < ColumnCount; ++column)
        m_tableViewResult->setColumnWidth(column, ColumnWidths[column]);

    // The panel writes the result texts in its own translation context.
    const QString succeed = QCoreApplication::translate("VexoTool::DeviceModifyPage", "Succeed");
    const QIcon okIcon(QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/BaseControl/Inputs/icon_alert_ok.png"));
    const QIcon errorIcon(
        QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/BaseControl/Inputs/icon_alert_error.png"));
    // The rows go in as one insertion: row by row, the view lays itself out again for each of
    // hundreds of devices while the window waits.
    int row = m_model->rowCount();
    m_model->setRowCount(row + int(devices.size()));
    int failed = 0;
    QMap<quint32, QString> explanations; // each code that has one, once, in code order
    for (const DeviceInfo &device : devices) {
        QStandardItem *result = nullptr;
        if (device.strResult == succeed) {
            //: In the result list, for a device the batch operation succeeded on.
            result = cell(tr("Succeeded"));
            result->setIcon(okIcon);
        } else {
            result = cell(device.strResult);
            result->setIcon(errorIcon);
            const quint32 code = ErrorExplanation::codeInResult(device.strResult);
            const QString explanation = ErrorExplanation::forCode(code);
            if (!explanation.isEmpty()) {
                result->setToolTip(explanation);
                explanations.insert(code, explanation);
            } else {
                // Sentences such as the ONVIF fault texts are longer than the column.
                result->setToolTip(device.strResult);
            }
            ++failed;
        }
        QStandardItem *serial = cell(device.strSerialNumber);
        serial->setToolTip(device.strSerialNumber);
        const QList<QStandardItem *> cells{cell(device.strIndex), cell(device.strDeviceType),
                                           cell(device.strIPv4Address), serial, result};
        for (int column = 0; column < int(cells.size()); ++column)
            m_model->setItem(row, column, cells.at(column));
        ++row;
    }
    const int succeeded = int(devices.size()) - failed;
    m_labelDeviceAll->setText(m_operation == Operation::Activation
                                  //: The result list's count after a batch activation: devices activated of all.
                                  ? tr("Activated: %1 of %2").arg(succeeded).arg(devices.size())
                                  //: The result list's count after a batch network change: devices changed of all.
                                  : tr("Changed: %1 of %2").arg(succeeded).arg(devices.size()));
    m_labelDeviceFail->setText(tr("Failed: %1").arg(failed));

    QStringList lines;
    for (auto it = explanations.cbegin(); it != explanations.cend(); ++it)
        //: A line below the result list: an error code and what it means.
        lines.append(tr("Error%1: %2").arg(it.key()).arg(it.value()));
    m_labelExplanations->setText(lines.join(QLatin1Char('\n')));
    m_labelExplanations->setVisible(!lines.isEmpty());
}

} // namespace VexoTool
