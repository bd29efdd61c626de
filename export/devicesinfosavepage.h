// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <basedialog.h>

#include <QList>

class QAbstractItemModel;
class QLabel;
class QToolButton;

namespace aptui {
class MultiStateLineEdit;
}

namespace VexoTool {

class ExcelManager;

/**
 * @brief The "Export" dialog: asks for a file name and a folder and writes the given rows of
 *        the device table into a new workbook "<name>.xls" there.
 *
 * It never replaces a file. The folder last typed or chosen is remembered for as long as the
 * program runs and offered again the next time the dialog opens. The dialog closes after a
 * successful export; after a failure it stays open for another try.
 */
class DevicesInfoSavePage : public aptui::BaseDialog
{
    Q_OBJECT

public:
    /** @brief A dialog exporting the rows @p rows of @p model (not owned) in that order. */
    DevicesInfoSavePage(const QAbstractItemModel *model, const QList<int> &rows, QWidget *parent = nullptr);
    ~DevicesInfoSavePage() override;

    /** @brief The rows the export writes, in that order. */
    QList<int> rows() const { return m_rows; }
    /** @brief Changes the rows the export writes. */
    void setRows(const QList<int> &rows) { m_rows = rows; }

    /** @brief The longest file name the dialog takes, without the extension. */
    static constexpr int MaxFileNameLength = 32;

public slots:
    /** @brief Lets the user choose an existing folder for the folder field. */
    void onBtnFilepathClicked();
    /** @brief Checks the name and folder and runs the export; closes the dialog when it succeeded. */
    void onSaveDevicesInfo();
    /** @brief Returns both fields to their normal look. */
    void onClearWarningInfo();
    /** @brief Returns the folder field to its normal look. */
    void onClearLineEditFilePathError();

protected:
    /** @brief A click into a field returns it to its normal look. */
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupForm();
    void showMessage(int kind, const QString &text, aptui::MultiStateLineEdit *field = nullptr,
                     QLabel *hintLabel = nullptr);
    void clearFileNameError();

    QLabel *m_labelFileName = nullptr;
    aptui::MultiStateLineEdit *m_lineEditFilename = nullptr;
    QLabel *m_labelHintFileName = nullptr;
    QLabel *m_labelFilepath = nullptr;
    aptui::MultiStateLineEdit *m_lineEditFilepath = nullptr;
    QToolButton *m_btnFilepath = nullptr;
    QLabel *m_labelHintFilePath = nullptr;

    const QAbstractItemModel *m_model = nullptr;
    QList<int> m_rows;
    ExcelManager *m_exporter = nullptr;
};

} // namespace VexoTool
