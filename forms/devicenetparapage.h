// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <deviceinfo.h>

#include <Vexo.h>

#include <QHash>
#include <QPoint>
#include <QVector>
#include <QWidget>

class DeviceStore;
class QLabel;
class QPushButton;

namespace aptui {
class MultiStateLineEdit;
}

namespace aKLOGUIToolkit {
class CCheckBox;
}

namespace VexoTool {

/**
 * @brief The form that shows, edits and checks the network parameters of one device (single
 *        mode) or of a batch of devices numbered from a start address (batch mode).
 *
 * The form reads the devices' current values from the store it is given and only ever writes into its
 * widgets; the modify panel that owns it sends the assembled parameters to the devices.
 *
 * The IPv6 and HTTP port rows stay hidden in both modes: their contents still follow the
 * device and are sent back as they are, and since the user can neither see nor edit them
 * the checks leave them alone.
 */
class DeviceNetParaPage : public QWidget
{
    Q_OBJECT

public:
    /** @brief A form reading the devices' values from @p store, which must outlive it. */
    explicit DeviceNetParaPage(DeviceStore &store, QWidget *parent = nullptr);
    ~DeviceNetParaPage() override;

    /** @brief One device: serial number, IPv4 address and "Enable DHCP" shown, no start address. */
    void showSingleMode();
    /** @brief A batch: the start address and the batch's own "Enable DHCP" (unchecked) shown. */
    void showBatchMode();
    /** @brief Empties and disables every field and the DHCP check box. */
    void clearAndDisable();
    /** @brief Enables every field and the DHCP check box. */
    void enableAll();

    /**
     * @brief Fills the form with the current values of one device from the store.
     *
     * Both texts empty: clearAndDisable(). With @p dhcpOff the DHCP box ends unchecked
     * whatever the device reports (the user has just unchecked it); otherwise it follows the
     * device. A device the store does not hold gives empty fields.
     */
    void setDevice(const QString &serialNumber, const QString &macAddress, bool dhcpOff);

    /**
     * @brief Empties the fields for a batch and enables those the devices allow to share.
     *
     * Start address and mask need a device outside the camera type range 0x9D00-0x9FFF, the
     * port needs one port for all, the gateway a device with extended information, the HTTP
     * port a web port on every device.
     */
    void prepareBatch(const QVector<DeviceInfo> &devices);

    /**
     * @brief Checks the single-mode fields; the first failure is marked and shown at @p position.
     *
     * Past the checks of each field, an address given by hand must work with its mask and
     * gateway and must not be the address of another device in DeviceStore.
     */
    bool checkSingle(const QPoint &position);
    /** @brief Checks the enabled batch-mode fields; the first failure is marked and shown at @p position. */
    bool checkBatch(const QPoint &position);

    /** @brief The record the single-mode fields describe; every field goes as shown (HTTP port 0 too). */
    DeviceNetParam collectSingle() const;
    /** @brief The trimmed batch texts and the ports (0 for an empty port field). */
    void collectBatch(QString &startIp, QString &subnetMask, QString &gateway, int &port, int &httpPort) const;

    /** @brief Checks "Enable DHCP" and disables the fields DHCP assigns. */
    void applyDhcpOn();
    /** @brief @p enable false empties and disables start address, mask and gateway; true enables them. */
    void setBatchDhcp(bool enable);
    /** @brief Whether the batch's "Enable DHCP" is unchecked. */
    bool isBatchDhcpOff() const;
    /**
     * @brief Lets the checks accept new addresses in 127/8: for ONVIF devices of the loopback
     *        scope, which live there. Off by default and for every device protocol selection.
     */
    void setLoopbackAllowed(bool allowed) { m_loopbackAllowed = allowed; }
    /** @brief Whether an empty gateway is taken as "no gateway" (ONVIF devices may have none). */
    void setEmptyGatewayAllowed(bool allowed) { m_emptyGatewayAllowed = allowed; }
    /** @brief Empties every hint and sets every field back to the normal state. */
    void clearHints();

    /** @brief The form's fields in the order Tab visits them (hidden and disabled ones are skipped). */
    QList<QWidget *> keyboardOrder() const;

    bool eventFilter(QObject *target, QEvent *qevent) override;

signals:
    /** @brief The single-mode "Enable DHCP" changed: 2 checked, 0 unchecked. */
    void signalDhcpStateChanged(int iState);
    /** @brief The batch "Enable DHCP" changed: 2 checked, 0 unchecked. */
    void signalBatchDhcpStateChanged(int iState);

private:
    void setRowVisible(aptui::MultiStateLineEdit *field, bool visible);
    bool fail(const QPoint &position, const QString &message, aptui::MultiStateLineEdit *field, QLabel *hint);
    bool checkIpAddress(const QPoint &position, aptui::MultiStateLineEdit *field, QLabel *hint);
    bool checkPort(const QPoint &position);
    bool checkSubnetMask(const QPoint &position);
    bool checkGateway(const QPoint &position);
    bool checkHttpPort(const QPoint &position);
    /** @brief The address with mask and gateway as a network; the field at fault is marked. */
    bool checkNetwork(const QPoint &position, aptui::MultiStateLineEdit *addressField, QLabel *addressHint);
    /** @brief The single-mode address is not one another listed device already has. */
    bool checkAddressFree(const QPoint &position);
    void setKeyboardOrder();
    /** @brief Checked only while the user can see the field and edit it. */
    static bool isChecked(const aptui::MultiStateLineEdit *field);

    DeviceStore &m_store;

    QLabel *m_labelDeviceNetPara = nullptr;
    QLabel *m_labelNetParaPicture = nullptr;
    QPushButton *m_btnImportDevice = nullptr;
    aKLOGUIToolkit::CCheckBox *m_checkBoxDHCP = nullptr;
    aKLOGUIToolkit::CCheckBox *m_checkBoxBatchDHCP = nullptr;

    QWidget *m_widgetStartIp = nullptr;
    QLabel *m_labelStartIp = nullptr;
    aptui::MultiStateLineEdit *m_lineEditStartIp = nullptr;
    QLabel *m_labelHintStartIp = nullptr;
    QLabel *m_lableStartIpDescription = nullptr;

    aptui::MultiStateLineEdit *m_lineEditSerialNumber = nullptr;
    aptui::MultiStateLineEdit *m_lineEditShortSerialNumber = nullptr;
    aptui::MultiStateLineEdit *m_lineEditStartTime = nullptr;
    aptui::MultiStateLineEdit *m_lineEditIpAddress = nullptr;
    aptui::MultiStateLineEdit *m_lineEditPort = nullptr;
    aptui::MultiStateLineEdit *m_lineEditSubnetMask = nullptr;
    aptui::MultiStateLineEdit *m_lineEditGateway = nullptr;
    aptui::MultiStateLineEdit *m_lineEditIPV6Address = nullptr;
    aptui::MultiStateLineEdit *m_lineEditIPV6Gateway = nullptr;
    aptui::MultiStateLineEdit *m_lineEditIPV6SubnetMaskLen = nullptr;
    aptui::MultiStateLineEdit *m_lineEditHttpPort = nullptr;

    QLabel *m_labelHintDeviceSerial = nullptr;
    QLabel *m_labelHintIpAddress = nullptr;
    QLabel *m_labelHintPort = nullptr;
    QLabel *m_labelHintSubnetMask = nullptr;
    QLabel *m_labelHintGateway = nullptr;
    QLabel *m_labelHintIPv6Address = nullptr;
    QLabel *m_labelHintIPv6Gateway = nullptr;
    QLabel *m_labelHintPrefixLength = nullptr;
    QLabel *m_labelHintHttpPort = nullptr;

    QLabel *m_labelSecurity = nullptr;

    // The device shown in single mode.
    QString m_serialNumber;
    QString m_macAddress;

    // Row labels, shown and hidden with their rows.
    QHash<aptui::MultiStateLineEdit *, QLabel *> m_rowLabels;
    QHash<aptui::MultiStateLineEdit *, QLabel *> m_rowHints;
    bool m_loopbackAllowed = false;
    bool m_emptyGatewayAllowed = false;
};

} // namespace VexoTool
