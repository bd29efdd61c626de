// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicenetparapage.h"

#include "inputlimithint.h"
#include "inputvalidation.h"
#include "networkcheck.h"

#include <devicestore.h>
#include <multistatelineedit.h>
#include <warningdialog.h>

#include <akloguitoolkit/ccheckbox.h>
#include <akloguitoolkit/cintvalidator.h>

#include <QEvent>
#include <QGridLayout>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace VexoTool {

namespace {

constexpr int Ipv4Length = 15;
constexpr int Ipv6Length = 64;
constexpr quint32 CameraTypeFirst = 0x9D00;
constexpr quint32 CameraTypeLast = 0x9FFF;
// The label column of every row of the form and of the panel's password rows, so the fields line up.
constexpr int LabelColumnWidth = 115;

// The short serial: up to nine characters ending with the serial number's last digit.
QString shortSerial(const QString &serialNumber)
{
    for (qsizetype i = serialNumber.size() - 1; i >= 0; --i) {
        const QChar c = serialNumber.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            const qsizetype start = qMax<qsizetype>(0, i - 8);
            return serialNumber.mid(start, i - start + 1);
        }
    }
    return {};
}

QLabel *namedLabel(const char *name, QWidget *parent, const QString &text = {})
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

void setReadOnlyText(aptui::MultiStateLineEdit *field, const QString &text)
{
    field->setText(text);
    field->setReadOnly(true);
    field->setCursorPosition(0);
    field->setToolTip(text);
}

// Draws a read-only field whose text is wider than the field with its text cut in the middle: a
// serial number keeps its model at the start and the digits that tell devices apart at the end.
// With the focus (to select and copy) the field draws itself.
class MiddleElidedText : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *field = qobject_cast<QLineEdit *>(watched);
        if (!field || event->type() != QEvent::Paint || !field->isReadOnly() || field->hasFocus())
            return false;
        QStyleOptionFrame frame;
        frame.initFrom(field);
        frame.rect = field->rect();
        frame.lineWidth
            = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, field) : 0;
        frame.state |= QStyle::State_Sunken | QStyle::State_ReadOnly;
        const QRect contents = field->style()
                                   ->subElementRect(QStyle::SE_LineEditContents, &frame, field)
                                   .marginsRemoved(field->textMargins())
                                   .adjusted(2, 0, -2, 0);
        const QString text = field->text();
        if (field->fontMetrics().horizontalAdvance(text) <= contents.width())
            return false;
        QPainter painter(field);
        field->style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, field);
        painter.setPen(field->palette().color(QPalette::Text));
        painter.drawText(contents, Qt::AlignLeft | Qt::AlignVCenter,
                         field->fontMetrics().elidedText(text, Qt::ElideMiddle, contents.width()));
        return true;
    }
};

int fieldNumber(const aptui::MultiStateLineEdit *field)
{
    return field->text().trimmed().toInt();
}

bool isEmpty(const aptui::MultiStateLineEdit *field)
{
    return field->text().trimmed().isEmpty();
}

QByteArray latin1(const aptui::MultiStateLineEdit *field)
{
    return field->text().trimmed().toLatin1();
}

} // namespace

DeviceNetParaPage::DeviceNetParaPage(DeviceStore &store, QWidget *parent)
    : QWidget(parent)
    , m_store(store)
{
    setAttribute(Qt::WA_StyledBackground);

    m_labelDeviceNetPara = namedLabel("m_labelDeviceNetPara", this);
    m_labelNetParaPicture = namedLabel("m_labelNetParaPicture", this);
    m_btnImportDevice = new QPushButton(tr("Inport DevciePara"), this);
    m_btnImportDevice->setObjectName(QStringLiteral("m_btnImportDevice"));
    m_btnImportDevice->setIcon(
        QIcon(QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/ParamModify/icon_import.png")));
    m_btnImportDevice->hide();
    auto *titleLayout = new QHBoxLayout();
    titleLayout->setSpacing(6);
    titleLayout->addWidget(m_labelNetParaPicture);
    titleLayout->addWidget(m_labelDeviceNetPara, 1);
    titleLayout->addWidget(m_btnImportDevice);

    m_checkBoxDHCP = new aKLOGUIToolkit::CCheckBox(this);
    m_checkBoxDHCP->setObjectName(QStringLiteral("m_checkBoxDHCP"));
    m_checkBoxDHCP->setText(tr("Enable DHCP"));
    m_checkBoxBatchDHCP = new aKLOGUIToolkit::CCheckBox(this);
    m_checkBoxBatchDHCP->setObjectName(QStringLiteral("m_checkBoxBatchDHCP"));
    m_checkBoxBatchDHCP->setText(tr("Enable DHCP"));

    m_widgetStartIp = new QWidget(this);
    m_widgetStartIp->setObjectName(QStringLiteral("m_widgetStartIp"));
    m_labelStartIp = namedLabel("m_labelStartIp", m_widgetStartIp, tr("StartIp:"));
    m_lineEditStartIp = new aptui::MultiStateLineEdit(m_widgetStartIp);
    m_lineEditStartIp->setObjectName(QStringLiteral("m_lineEditStartIp"));
    m_lineEditStartIp->setMaxLength(Ipv4Length);
    m_labelHintStartIp = namedLabel("m_labelHintStartIp", m_widgetStartIp);
    m_labelHintStartIp->setFixedWidth(16);
    auto *tipWidget = new QWidget(m_widgetStartIp);
    tipWidget->setObjectName(QStringLiteral("m_tipWidget"));
    tipWidget->setAttribute(Qt::WA_StyledBackground);
    m_lableStartIpDescription
        = namedLabel("m_lableStartIpDescription", tipWidget, tr("Please set the start Ip address,then add one"));
    m_lableStartIpDescription->setWordWrap(true);
    auto *tipLayout = new QVBoxLayout(tipWidget);
    tipLayout->setContentsMargins(8, 6, 8, 6);
    tipLayout->addWidget(m_lableStartIpDescription);
    auto *startIpLayout = new QGridLayout(m_widgetStartIp);
    startIpLayout->setContentsMargins(0, 0, 0, 0);
    startIpLayout->setHorizontalSpacing(8);
    startIpLayout->addWidget(m_labelStartIp, 0, 0);
    startIpLayout->addWidget(m_lineEditStartIp, 0, 1);
    startIpLayout->addWidget(m_labelHintStartIp, 0, 2);
    startIpLayout->addWidget(tipWidget, 1, 0, 1, 3);
    startIpLayout->setColumnStretch(1, 1);
    startIpLayout->setColumnMinimumWidth(0, LabelColumnWidth);

    auto *grid = new QGridLayout();
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(0, LabelColumnWidth);
    auto row = [this, grid](int r, const QString &label, const char *fieldName, const char *hintName) {
        auto *rowLabel = new QLabel(label, this);
        auto *field = new aptui::MultiStateLineEdit(this);
        field->setObjectName(QLatin1String(fieldName));
        field->installEventFilter(this);
        grid->addWidget(rowLabel, r, 0);
        grid->addWidget(field, r, 1);
        m_rowLabels.insert(field, rowLabel);
        if (hintName) {
            QLabel *hint = namedLabel(hintName, this);
            hint->setFixedWidth(16);
            grid->addWidget(hint, r, 2);
            m_rowHints.insert(field, hint);
        }
        return field;
    };
    m_lineEditSerialNumber = row(0, tr("Device Serial:"), "m_lineEditSerialNumber", "m_labelHintDeviceSerial");
    m_lineEditSerialNumber->installEventFilter(new MiddleElidedText(m_lineEditSerialNumber));
    m_lineEditShortSerialNumber = row(1, tr("Short Serial:"), "m_lineEditShortSerialNumber", nullptr);
    m_lineEditStartTime = row(2, tr("Start Time:"), "m_lineEditStartTime", nullptr);
    m_lineEditIpAddress = row(3, tr("IP Address:"), "m_lineEditIpAddress", "m_labelHintIpAddress");
    m_lineEditPort = row(4, tr("Port:"), "m_lineEditPort", "m_labelHintPort");
    m_lineEditSubnetMask = row(5, tr("Subnet Mask:"), "m_lineEditSubnetMask", "m_labelHintSubnetMask");
    m_lineEditGateway = row(6, tr("Gateway:"), "m_lineEditGateway", "m_labelHintGateway");
    m_lineEditIPV6Address = row(7, tr("IPv6 Address:"), "m_lineEditIPV6Address", "m_labelHintIPv6Address");
    m_lineEditIPV6Gateway = row(8, tr("IPv6 Gateway:"), "m_lineEditIPV6Gateway", "m_labelHintIPv6Gateway");
    m_lineEditIPV6SubnetMaskLen
        = row(9, tr("IPv6 Prefix Length:"), "m_lineEditIPV6SubnetMaskLen", "m_labelHintPrefixLength");
    m_lineEditHttpPort = row(10, tr("Http Port:"), "m_lineEditHttpPort", "m_labelHintHttpPort");
    m_lineEditStartIp->installEventFilter(this);
    m_rowHints.insert(m_lineEditStartIp, m_labelHintStartIp);
    m_rowLabels.insert(m_lineEditStartIp, m_labelStartIp);

    m_labelHintDeviceSerial = m_rowHints.value(m_lineEditSerialNumber);
    m_labelHintIpAddress = m_rowHints.value(m_lineEditIpAddress);
    m_labelHintPort = m_rowHints.value(m_lineEditPort);
    m_labelHintSubnetMask = m_rowHints.value(m_lineEditSubnetMask);
    m_labelHintGateway = m_rowHints.value(m_lineEditGateway);
    m_labelHintIPv6Address = m_rowHints.value(m_lineEditIPV6Address);
    m_labelHintIPv6Gateway = m_rowHints.value(m_lineEditIPV6Gateway);
    m_labelHintPrefixLength = m_rowHints.value(m_lineEditIPV6SubnetMaskLen);
    m_labelHintHttpPort = m_rowHints.value(m_lineEditHttpPort);

    m_lineEditIpAddress->setMaxLength(Ipv4Length);
    m_lineEditSubnetMask->setMaxLength(Ipv4Length);
    m_lineEditGateway->setMaxLength(Ipv4Length);
    m_lineEditIPV6Address->setMaxLength(Ipv6Length);
    m_lineEditIPV6Gateway->setMaxLength(Ipv6Length);
    m_lineEditPort->setValidator(new aKLOGUIToolkit::CIntValidator(0, 65535, m_lineEditPort));
    m_lineEditIPV6SubnetMaskLen->setValidator(new aKLOGUIToolkit::CIntValidator(0, 127, m_lineEditIPV6SubnetMaskLen));
    m_lineEditHttpPort->setValidator(new aKLOGUIToolkit::CIntValidator(0, 65535, m_lineEditHttpPort));

    auto *leftLine = new QLabel(this);
    leftLine->setObjectName(QStringLiteral("m_labelGrayline2"));
    leftLine->setFixedHeight(1);
    m_labelSecurity = namedLabel("m_labelSecurity", this, tr("Security Verification"));
    auto *rightLine = new QLabel(this);
    rightLine->setObjectName(QStringLiteral("m_labelGrayline3"));
    rightLine->setFixedHeight(1);
    auto *securityLayout = new QHBoxLayout();
    securityLayout->setSpacing(8);
    securityLayout->addWidget(leftLine, 1);
    securityLayout->addWidget(m_labelSecurity);
    securityLayout->addWidget(rightLine, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 0);
    layout->setSpacing(12);
    layout->addLayout(titleLayout);
    layout->addWidget(m_checkBoxDHCP);
    layout->addWidget(m_checkBoxBatchDHCP);
    layout->addWidget(m_widgetStartIp);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(securityLayout);
    // Only now is the port field in the page's layout, where its hint takes its place.
    InputLimitHint::attach(m_lineEditPort, tr("Device port ranges from 2000 to 65535."));

    connect(m_checkBoxDHCP, &QCheckBox::stateChanged, this, &DeviceNetParaPage::signalDhcpStateChanged);
    connect(m_checkBoxBatchDHCP, &QCheckBox::stateChanged, this, &DeviceNetParaPage::signalBatchDhcpStateChanged);

    setKeyboardOrder();
    showSingleMode();
    setDevice(QString(), QString(), false);
}

void DeviceNetParaPage::setKeyboardOrder()
{
    // The serial number, short serial and start time are only read: Tab passes them by.
    for (aptui::MultiStateLineEdit *field : {m_lineEditSerialNumber, m_lineEditShortSerialNumber, m_lineEditStartTime})
        field->setFocusPolicy(Qt::ClickFocus);
    const QList<QWidget *> order = keyboardOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

QList<QWidget *> DeviceNetParaPage::keyboardOrder() const
{
    // Top to bottom as the form shows them; Tab skips whatever is hidden or disabled.
    return {m_checkBoxDHCP,        m_checkBoxBatchDHCP,         m_lineEditStartIp, m_lineEditIpAddress,
            m_lineEditPort,        m_lineEditSubnetMask,        m_lineEditGateway, m_lineEditIPV6Address,
            m_lineEditIPV6Gateway, m_lineEditIPV6SubnetMaskLen, m_lineEditHttpPort};
}

DeviceNetParaPage::~DeviceNetParaPage() = default;

void DeviceNetParaPage::setRowVisible(aptui::MultiStateLineEdit *field, bool visible)
{
    field->setVisible(visible);
    if (QLabel *label = m_rowLabels.value(field))
        label->setVisible(visible);
    if (QLabel *hint = m_rowHints.value(field))
        hint->setVisible(visible);
}

void DeviceNetParaPage::showSingleMode()
{
    m_labelDeviceNetPara->setText(tr("Modify Network parameters"));
    m_widgetStartIp->hide();
    setRowVisible(m_lineEditSerialNumber, true);
    setRowVisible(m_lineEditShortSerialNumber, true);
    setRowVisible(m_lineEditStartTime, true);
    setRowVisible(m_lineEditIpAddress, true);
    m_checkBoxDHCP->show();
    m_checkBoxBatchDHCP->hide();
    clearHints();
    // Nothing shows these rows: their values are the device's own and go back unchanged.
    setRowVisible(m_lineEditIPV6Address, false);
    setRowVisible(m_lineEditIPV6Gateway, false);
    setRowVisible(m_lineEditIPV6SubnetMaskLen, false);
    setRowVisible(m_lineEditHttpPort, false);
}

void DeviceNetParaPage::showBatchMode()
{
    m_labelDeviceNetPara->setText(tr("Batch Modify Network parameters"));
    m_widgetStartIp->show();
    setRowVisible(m_lineEditSerialNumber, false);
    // Short serial and start time describe one device; a batch has none to show.
    setRowVisible(m_lineEditShortSerialNumber, false);
    setRowVisible(m_lineEditStartTime, false);
    setRowVisible(m_lineEditIpAddress, false);
    m_checkBoxDHCP->hide();
    m_checkBoxBatchDHCP->show();
    {
        const QSignalBlocker blocker(m_checkBoxBatchDHCP);
        m_checkBoxBatchDHCP->setChecked(false);
    }
    clearHints();
}

void DeviceNetParaPage::clearAndDisable()
{
    for (aptui::MultiStateLineEdit *field :
         {m_lineEditSerialNumber, m_lineEditShortSerialNumber, m_lineEditStartTime}) {
        field->clear();
        field->setReadOnly(true);
        field->setEnabled(false);
    }
    for (aptui::MultiStateLineEdit *field :
         {m_lineEditIpAddress, m_lineEditPort, m_lineEditSubnetMask, m_lineEditGateway, m_lineEditHttpPort,
          m_lineEditIPV6Address, m_lineEditIPV6Gateway, m_lineEditIPV6SubnetMaskLen}) {
        field->clear();
        field->setEnabled(false);
    }
    {
        const QSignalBlocker blocker(m_checkBoxDHCP);
        m_checkBoxDHCP->setChecked(false);
    }
    m_checkBoxDHCP->setEnabled(false);
    clearHints();
    m_labelHintIPv6Address->hide();
    m_labelHintIPv6Gateway->hide();
    m_labelHintPrefixLength->hide();
    m_labelHintHttpPort->hide();
}

void DeviceNetParaPage::enableAll()
{
    for (aptui::MultiStateLineEdit *field :
         {m_lineEditSerialNumber, m_lineEditShortSerialNumber, m_lineEditStartTime, m_lineEditIpAddress, m_lineEditPort,
          m_lineEditSubnetMask, m_lineEditGateway, m_lineEditHttpPort, m_lineEditIPV6Address, m_lineEditIPV6Gateway,
          m_lineEditIPV6SubnetMaskLen})
        field->setEnabled(true);
    m_checkBoxDHCP->setEnabled(true);
}

void DeviceNetParaPage::setDevice(const QString &serialNumber, const QString &macAddress, bool dhcpOff)
{
    m_serialNumber = serialNumber;
    m_macAddress = macAddress;
    if (serialNumber.isEmpty() && macAddress.isEmpty()) {
        clearAndDisable();
        return;
    }
    DeviceNetParam params{};
    VEXO_DEVICE_INFO record{};
    DeviceStore *store = &m_store;
    store->getNetParams(serialNumber, macAddress, params);
    store->get(serialNumber, macAddress, record);

    setReadOnlyText(m_lineEditSerialNumber, serialNumber);
    setReadOnlyText(m_lineEditShortSerialNumber, shortSerial(serialNumber));
    setReadOnlyText(m_lineEditStartTime, fieldText(record.startTime));

    m_lineEditIpAddress->setText(fieldText(params.ipv4Address));
    m_lineEditPort->setText(QString::number(params.port));
    m_lineEditSubnetMask->setText(fieldText(params.ipv4SubnetMask));
    m_lineEditGateway->setText(fieldText(params.ipv4Gateway));
    for (aptui::MultiStateLineEdit *field :
         {m_lineEditIpAddress, m_lineEditPort, m_lineEditSubnetMask, m_lineEditGateway})
        field->setEnabled(true);

    m_lineEditHttpPort->setText(QString::number(params.httpPort));
    m_lineEditHttpPort->setEnabled(m_lineEditHttpPort->text() != QLatin1String("0"));

    const bool canModifyIpv6 = record.capabilityFlags & VEXO_CAP_MOD_IPV6;
    if (record.extendedInfoValid == 1) {
        m_lineEditIPV6Address->setText(fieldText(params.ipv6Address));
        m_lineEditIPV6Gateway->setText(fieldText(params.ipv6Gateway));
        m_lineEditIPV6SubnetMaskLen->setText(QString::number(params.ipv6PrefixLength));
        for (aptui::MultiStateLineEdit *field :
             {m_lineEditIPV6Address, m_lineEditIPV6Gateway, m_lineEditIPV6SubnetMaskLen})
            field->setEnabled(canModifyIpv6);
    } else if (record.extendedInfoValid == 0) {
        for (aptui::MultiStateLineEdit *field :
             {m_lineEditIPV6Address, m_lineEditIPV6Gateway, m_lineEditIPV6SubnetMaskLen}) {
            field->clear();
            field->setEnabled(false);
        }
    }

    const QSignalBlocker blocker(m_checkBoxDHCP);
    if (!(record.capabilityFlags & VEXO_CAP_DHCP)) {
        m_checkBoxDHCP->setChecked(false);
        m_checkBoxDHCP->setEnabled(false);
        return;
    }
    m_checkBoxDHCP->setEnabled(true);
    int dhcp = dhcpOff ? 0 : params.dhcpEnabled;
    if (dhcp == 1) {
        applyDhcpOn();
    } else if (dhcp == 0) {
        m_checkBoxDHCP->setChecked(false);
    }
}

void DeviceNetParaPage::prepareBatch(const QVector<DeviceInfo> &devices)
{
    bool generalTypeFound = false;
    bool extendedFound = false;
    bool samePort = true;
    bool allHaveHttpPort = true;
    DeviceStore *store = &m_store;
    quint32 referencePort = 0;
    for (qsizetype i = 0; i < devices.size(); ++i) {
        VEXO_DEVICE_INFO record{};
        store->get(devices.at(i).strSerialNumber, devices.at(i).strMAC, record);
        if (i == 0)
            referencePort = record.port;
        if (record.deviceTypeCode < CameraTypeFirst || record.deviceTypeCode > CameraTypeLast)
            generalTypeFound = true;
        if (record.port != referencePort)
            samePort = false;
        if (record.extendedInfoValid == 1)
            extendedFound = true;
        if (record.httpPort == 0)
            allHaveHttpPort = false;
        if (generalTypeFound && extendedFound && !samePort && !allHaveHttpPort)
            break;
    }

    for (aptui::MultiStateLineEdit *field :
         {m_lineEditStartIp, m_lineEditPort, m_lineEditSubnetMask, m_lineEditGateway, m_lineEditIPV6Address,
          m_lineEditIPV6Gateway, m_lineEditIPV6SubnetMaskLen, m_lineEditHttpPort})
        field->clear();
    m_lineEditStartIp->setEnabled(generalTypeFound);
    m_lineEditSubnetMask->setEnabled(generalTypeFound);
    m_lineEditPort->setEnabled(samePort);
    m_lineEditGateway->setEnabled(extendedFound);
    m_lineEditHttpPort->setEnabled(allHaveHttpPort);
    for (aptui::MultiStateLineEdit *field : {m_lineEditIPV6Address, m_lineEditIPV6Gateway, m_lineEditIPV6SubnetMaskLen})
        field->setEnabled(false);
    {
        const QSignalBlocker blocker(m_checkBoxBatchDHCP);
        m_checkBoxBatchDHCP->setChecked(false);
    }
}

bool DeviceNetParaPage::isChecked(const aptui::MultiStateLineEdit *field)
{
    return field->isEnabled() && !field->isHidden();
}

bool DeviceNetParaPage::fail(const QPoint &position, const QString &message, aptui::MultiStateLineEdit *field,
                             QLabel *hint)
{
    WarningDialog::showWarning(position, WarningDialog::Error, message, this, field, hint);
    return false;
}

bool DeviceNetParaPage::checkIpAddress(const QPoint &position, aptui::MultiStateLineEdit *field, QLabel *hint)
{
    const QString text = field->text().trimmed();
    if (text.isEmpty())
        return fail(position, tr("Please input IP Address."), field, hint);
    if (!isValidIPv4(text))
        return fail(position, tr("IP Address not correct."), field, hint);
    return true;
}

bool DeviceNetParaPage::checkPort(const QPoint &position)
{
    const int port = fieldNumber(m_lineEditPort);
    if (port < 2000 || port > 65535)
        return fail(position, tr("Device port ranges from 2000 to 65535."), m_lineEditPort, m_labelHintPort);
    return true;
}

bool DeviceNetParaPage::checkSubnetMask(const QPoint &position)
{
    const QString text = m_lineEditSubnetMask->text().trimmed();
    if (text.isEmpty())
        return fail(position, tr("Subnet mask can not be empty."), m_lineEditSubnetMask, m_labelHintSubnetMask);
    if (!isValidSubnetMask(text))
        return fail(position, tr("Subnet Mask not correct."), m_lineEditSubnetMask, m_labelHintSubnetMask);
    return true;
}

bool DeviceNetParaPage::checkGateway(const QPoint &position)
{
    const QString text = m_lineEditGateway->text().trimmed();
    if (text.isEmpty() && m_emptyGatewayAllowed)
        return true;
    if (text.isEmpty())
        return fail(position, tr("Gateway can not be empty"), m_lineEditGateway, m_labelHintGateway);
    if (!isValidGateway(text))
        return fail(position, tr("Gateway not correct."), m_lineEditGateway, m_labelHintGateway);
    return true;
}

bool DeviceNetParaPage::checkHttpPort(const QPoint &position)
{
    const int port = fieldNumber(m_lineEditHttpPort);
    if (port < 1 || port > 65535)
        return fail(position, tr("Http port ranges from 1 to 65535."), m_lineEditHttpPort, m_labelHintHttpPort);
    return true;
}

bool DeviceNetParaPage::checkNetwork(const QPoint &position, aptui::MultiStateLineEdit *addressField,
                                     QLabel *addressHint)
{
    const QString address = addressField->text().trimmed();
    const QString mask = isChecked(m_lineEditSubnetMask) ? m_lineEditSubnetMask->text().trimmed() : QString();
    const QString gateway = isChecked(m_lineEditGateway) ? m_lineEditGateway->text().trimmed() : QString();
    const NetworkVerdict verdict = checkNetworkSettings(address, mask, gateway, m_loopbackAllowed);
    if (verdict.ok())
        return true;
    const QString range = tr("Use an address from %1 to %2.").arg(verdict.firstHost, verdict.lastHost);
    QString message;
    switch (verdict.problem) {
    case NetworkProblem::LeadingZero:
        message
            = verdict.field == NetworkField::Gateway
                  ? tr("Write the gateway without leading zeros, for example 198.51.100.1 rather than 198.51.100.01.")
                  : tr("Write the IP address without leading zeros, for example 198.51.100.9 rather than "
                       "198.51.100.09.");
        break;
    case NetworkProblem::Unspecified:
        message = tr("Addresses that begin with 0 cannot be given to a device.");
        break;
    case NetworkProblem::Loopback:
        message = tr("Addresses that begin with 127 are loopback addresses and cannot be given to a device.");
        break;
    case NetworkProblem::Multicast:
        message = tr("Addresses from 224.0.0.0 to 239.255.255.255 are multicast addresses and cannot be given to "
                     "a device.");
        break;
    case NetworkProblem::Reserved:
        message = tr("Addresses from 240.0.0.0 up are reserved and cannot be given to a device.");
        break;
    case NetworkProblem::NetworkAddress:
        message = tr("The IP address is the network address of its subnet.") + QLatin1Char(' ') + range;
        break;
    case NetworkProblem::BroadcastAddress:
        message = tr("The IP address is the broadcast address of its subnet.") + QLatin1Char(' ') + range;
        break;
    case NetworkProblem::MaskWithoutSubnet:
        message = tr("Subnet mask 0.0.0.0 leaves the device without a subnet.");
        break;
    case NetworkProblem::GatewayOutsideSubnet:
        message = tr("The gateway must be an address of the device's subnet, from %1 to %2.")
                      .arg(verdict.firstHost, verdict.lastHost);
        break;
    case NetworkProblem::GatewayIsDevice:
        message = tr("The gateway cannot be the device's own IP address.");
        break;
    case NetworkProblem::None:
        return true;
    }
    switch (verdict.field) {
    case NetworkField::SubnetMask:
        return fail(position, message, m_lineEditSubnetMask, m_labelHintSubnetMask);
    case NetworkField::Gateway:
        return fail(position, message, m_lineEditGateway, m_labelHintGateway);
    case NetworkField::Address:
        break;
    }
    return fail(position, message, addressField, addressHint);
}

bool DeviceNetParaPage::checkSingle(const QPoint &position)
{
    // ONVIF devices have no device port: their field is disabled.
    if (!checkIpAddress(position, m_lineEditIpAddress, m_labelHintIpAddress)
        || (isChecked(m_lineEditPort) && !checkPort(position)) || !checkSubnetMask(position) || !checkGateway(position))
        return false;
    if (isChecked(m_lineEditIPV6Address)) {
        const QString address = m_lineEditIPV6Address->text().trimmed();
        if (address.isEmpty() || !isValidIPv6(address))
            return fail(position, tr("IPv6 Address not correct."), m_lineEditIPV6Address, m_labelHintIPv6Address);
    }
    if (isChecked(m_lineEditIPV6Gateway)) {
        const QString gateway = m_lineEditIPV6Gateway->text().trimmed();
        if (gateway.isEmpty() || !isValidIPv6(gateway))
            return fail(position, tr("IPv6 gateway not correct."), m_lineEditIPV6Gateway, m_labelHintIPv6Gateway);
    }
    if (isChecked(m_lineEditIPV6SubnetMaskLen)) {
        bool ok = false;
        const int length = m_lineEditIPV6SubnetMaskLen->text().trimmed().toInt(&ok);
        if (!ok || length < 0 || length > 127)
            return fail(position, tr("IPv6 prefix length ranges from 0 to 127."), m_lineEditIPV6SubnetMaskLen,
                        m_labelHintPrefixLength);
    }
    if (isChecked(m_lineEditHttpPort) && !checkHttpPort(position))
        return false;
    // With DHCP the device takes what the server leases; the fields are not what it will use.
    if (m_lineEditIpAddress->isEnabled()
        && (!checkNetwork(position, m_lineEditIpAddress, m_labelHintIpAddress) || !checkAddressFree(position)))
        return false;
    return true;
}

bool DeviceNetParaPage::checkAddressFree(const QPoint &position)
{
    const QString address = m_lineEditIpAddress->text().trimmed();
    DeviceStore *store = &m_store;
    DeviceNetParam current{};
    store->getNetParams(m_serialNumber, m_macAddress, current);
    // A device that already shares its address is not stopped from changing something else.
    if (ipv4Number(fieldText(current.ipv4Address)) == ipv4Number(address))
        return true;
    QVector<VEXO_DEVICE_INFO> listed;
    store->copyAll(listed);
    for (const VEXO_DEVICE_INFO &record : std::as_const(listed)) {
        const bool self
            = fieldText(record.serialNumber) == m_serialNumber && fieldText(record.macAddress) == m_macAddress;
        if (!self && ipv4Number(fieldText(record.ipv4Address)) == ipv4Number(address))
            return fail(position, tr("The address %1 is already used by another device in the list.").arg(address),
                        m_lineEditIpAddress, m_labelHintIpAddress);
    }
    return true;
}

bool DeviceNetParaPage::checkBatch(const QPoint &position)
{
    if (isChecked(m_lineEditStartIp) && !checkIpAddress(position, m_lineEditStartIp, m_labelHintStartIp))
        return false;
    // An empty port leaves each device's own, as the empty address fields do.
    if (isChecked(m_lineEditPort) && !isEmpty(m_lineEditPort) && !checkPort(position))
        return false;
    if (isChecked(m_lineEditSubnetMask) && !checkSubnetMask(position))
        return false;
    if (isChecked(m_lineEditGateway) && !checkGateway(position))
        return false;
    if (isChecked(m_lineEditHttpPort) && !isEmpty(m_lineEditHttpPort) && !checkHttpPort(position))
        return false;
    // The start address is the first device's address; the panel keeps the others in the subnet.
    if (isChecked(m_lineEditStartIp) && !checkNetwork(position, m_lineEditStartIp, m_labelHintStartIp))
        return false;
    return true;
}

DeviceNetParam DeviceNetParaPage::collectSingle() const
{
    DeviceNetParam params{};
    setFieldText(params.ipv4Address, latin1(m_lineEditIpAddress));
    setFieldText(params.ipv4SubnetMask, latin1(m_lineEditSubnetMask));
    setFieldText(params.ipv4Gateway, latin1(m_lineEditGateway));
    params.port = quint16(m_lineEditPort->text().trimmed().toUInt());
    params.dhcpEnabled = m_checkBoxDHCP->isChecked() ? 1 : 0;
    const quint16 httpPort = quint16(m_lineEditHttpPort->text().trimmed().toUInt());
    // 0 is what a device without a web server reports; it goes back as 0, never as a new port.
    params.httpPort = httpPort;
    setFieldText(params.ipv6Address, latin1(m_lineEditIPV6Address));
    setFieldText(params.ipv6Gateway, latin1(m_lineEditIPV6Gateway));
    params.ipv6PrefixLength = quint8(m_lineEditIPV6SubnetMaskLen->text().trimmed().toUInt());
    return params;
}

void DeviceNetParaPage::collectBatch(QString &startIp, QString &subnetMask, QString &gateway, int &port,
                                     int &httpPort) const
{
    startIp = m_lineEditStartIp->text().trimmed();
    subnetMask = m_lineEditSubnetMask->text().trimmed();
    gateway = m_lineEditGateway->text().trimmed();
    port = fieldNumber(m_lineEditPort);
    httpPort = fieldNumber(m_lineEditHttpPort);
}

void DeviceNetParaPage::applyDhcpOn()
{
    {
        const QSignalBlocker blocker(m_checkBoxDHCP);
        m_checkBoxDHCP->setChecked(true);
    }
    for (aptui::MultiStateLineEdit *field : {m_lineEditIpAddress, m_lineEditSubnetMask, m_lineEditGateway,
                                             m_lineEditIPV6Address, m_lineEditIPV6Gateway, m_lineEditIPV6SubnetMaskLen})
        field->setEnabled(false);
}

void DeviceNetParaPage::setBatchDhcp(bool enable)
{
    for (aptui::MultiStateLineEdit *field : {m_lineEditStartIp, m_lineEditSubnetMask, m_lineEditGateway}) {
        if (!enable)
            field->clear();
        field->setEnabled(enable);
    }
}

bool DeviceNetParaPage::isBatchDhcpOff() const
{
    return !m_checkBoxBatchDHCP->isChecked();
}

void DeviceNetParaPage::clearHints()
{
    for (auto it = m_rowHints.cbegin(); it != m_rowHints.cend(); ++it) {
        it.value()->clear();
        it.key()->setLineEditState(aptui::MultiStateLineEdit::NORMAL);
    }
    for (aptui::MultiStateLineEdit *field : {m_lineEditShortSerialNumber, m_lineEditStartTime})
        field->setLineEditState(aptui::MultiStateLineEdit::NORMAL);
}

bool DeviceNetParaPage::eventFilter(QObject *target, QEvent *qevent)
{
    if (qevent->type() == QEvent::MouseButtonPress) {
        if (auto *field = qobject_cast<aptui::MultiStateLineEdit *>(target)) {
            if (QLabel *hint = m_rowHints.value(field))
                hint->clear();
            field->setLineEditState(aptui::MultiStateLineEdit::NORMAL);
        }
    }
    return QWidget::eventFilter(target, qevent);
}

} // namespace VexoTool
