// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

namespace VexoTest {

/**
 * @brief Answers the modal windows the code under test opens while it lives.
 *
 * Message boxes (the self-closing message, the toolkit's OK box and the link message) are read
 * and closed; their texts are kept in order. File dialogs take the next queued answer: a path to choose, or an
 * empty text to cancel. Other modal windows go to the handler given to onOtherModal().
 */
class ModalResponder : public QObject
{
    Q_OBJECT

public:
    ModalResponder();
    ~ModalResponder() override;

    /** @brief The texts of all messages shown so far. */
    QStringList messages() const { return m_messages; }
    /** @brief The last message's text, or an empty text. */
    QString lastMessage() const { return m_messages.isEmpty() ? QString() : m_messages.last(); }
    void clearMessages() { m_messages.clear(); }

    /** @brief The answer of the next file dialog: a path, or an empty text to cancel. */
    void queueFileAnswer(const QString &path) { m_fileAnswers.enqueue(path); }
    /** @brief Start folders of the file dialogs answered so far. */
    QStringList fileDialogFolders() const { return m_fileDialogFolders; }

    /**
     * @brief Clicks the button @p objectName of the following link messages before closing them
     *        (an empty name: only close them); what the message notes afterwards is kept in notes().
     */
    void pressInLinkMessages(const QString &objectName) { m_linkButton = objectName; }
    QStringList notes() const { return m_notes; }

    /** @brief Handles any other modal window; without a handler it is left alone. */
    void onOtherModal(std::function<void(QWidget *)> handler) { m_otherHandler = std::move(handler); }

private:
    void poll();

    QTimer m_timer;
    QStringList m_messages;
    QQueue<QString> m_fileAnswers;
    QStringList m_fileDialogFolders;
    QString m_linkButton;
    QStringList m_notes;
    std::function<void(QWidget *)> m_otherHandler;
    QPointer<QWidget> m_handled;
};

} // namespace VexoTest
