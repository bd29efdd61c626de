// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "configuremanager.h"

#include <akloguitoolkit/cgenericds.h>
#include <userfilewriter.h>

#include <QDebug>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QTextCodec>

#include <array>

namespace apt {

namespace {

constexpr std::array<const char *, 11> KeyNames = {
    "Translator", "Languages", "LogLevel", "VersionType",     "PingThread",   "TaskThread",
    "LogSaveDay", "Skin",      "Filter",   "BatchOperations", "SnapshotView",
};

} // namespace

ConfigureManager::ConfigureManager()
{
    // "System" names the local code page on Windows; other platforms know it by locale.
    m_codec = QTextCodec::codecForName("System");
    if (!m_codec)
        m_codec = QTextCodec::codecForLocale();
}

ConfigureManager::~ConfigureManager() = default;

bool ConfigureManager::load(const QString &path)
{
    m_configures.clear();
    m_requestedPath = path;

    aKLOGUIToolkit::CGenericDS root;
    if (!root.LoadXML(path)) {
        qDebug("[ConfigureManager::load]Cannot load %s, using the defaults.", qUtf8Printable(path));
        return false;
    }
    m_path = path;

    const int count = root.GetChildrenCount();
    m_configures.reserve(count);
    for (int i = 0; i < count; ++i) {
        const aKLOGUIToolkit::CGenericDS child = root.GetChild(i);
        m_configures.push_back(
            std::make_unique<Configure>(child.GetName(), child.GetChildByName(QStringLiteral("Value")).GetValue()));
    }
    return true;
}

bool ConfigureManager::load(const QString &defaultsPath, const QString &userPath)
{
    bool read = load(defaultsPath);
    m_requestedPath = userPath;
    if (userPath.isEmpty() || !QFileInfo::exists(userPath))
        return read;

    aKLOGUIToolkit::CGenericDS root;
    if (!root.LoadXML(userPath)) {
        qWarning("[ConfigureManager::load]Cannot read %s; using the shipped settings.", qUtf8Printable(userPath));
        return read;
    }
    m_path = userPath;
    const int count = root.GetChildrenCount();
    for (int i = 0; i < count; ++i) {
        const aKLOGUIToolkit::CGenericDS child = root.GetChild(i);
        setValue(child.GetName(), child.GetChildByName(QStringLiteral("Value")).GetValue());
    }
    return true;
}

const Configure *ConfigureManager::find(int key) const
{
    const QString name = keyName(key);
    if (name.isEmpty())
        return nullptr;
    for (const auto &configure : m_configures) {
        if (configure->name() == name)
            return configure.get();
    }
    return nullptr;
}

QList<const Configure *> ConfigureManager::configures() const
{
    QList<const Configure *> list;
    list.reserve(qsizetype(m_configures.size()));
    for (const auto &configure : m_configures)
        list.append(configure.get());
    return list;
}

QString ConfigureManager::keyName(int key)
{
    if (key < 0 || key >= int(KeyNames.size()))
        return {};
    return QString::fromLatin1(KeyNames[key]);
}

quint32 ConfigureManager::translator() const
{
    const Configure *configure = find(KeyTranslator);
    return configure ? configure->value().toUInt(nullptr, 10) : 0;
}

QList<quint32> ConfigureManager::languages() const
{
    QList<quint32> codes;
    const Configure *configure = find(KeyLanguages);
    if (!configure)
        return codes;
    const QStringList parts = configure->value().split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &part : parts)
        codes.append(part.trimmed().toUInt(nullptr, 10));
    return codes;
}

int ConfigureManager::versionType() const
{
    const int value = signedValue(KeyVersionType, 1);
    return value == -1 ? 1 : value;
}

int ConfigureManager::pingThread() const
{
    return signedValue(KeyPingThread, -1);
}

int ConfigureManager::taskThread() const
{
    return signedValue(KeyTaskThread, -1);
}

int ConfigureManager::logSaveDay() const
{
    return signedValue(KeyLogSaveDay, -1);
}

bool ConfigureManager::filter() const
{
    return signedValue(KeyFilter, 0) == 1;
}

bool ConfigureManager::batchOperations() const
{
    return signedValue(KeyBatchOperations, 0) == 1;
}

bool ConfigureManager::setBatchOperations(bool on)
{
    const QString value = on ? QStringLiteral("1") : QStringLiteral("0");
    setValue(KeyBatchOperations, value);
    return writeValue(KeyBatchOperations, value);
}

bool ConfigureManager::snapshotView() const
{
    return signedValue(KeySnapshotView, 0) == 1;
}

bool ConfigureManager::setSnapshotView(bool on)
{
    const QString value = on ? QStringLiteral("1") : QStringLiteral("0");
    setValue(KeySnapshotView, value);
    return writeValue(KeySnapshotView, value);
}

bool ConfigureManager::setTranslator(quint32 code)
{
    const QString value = QString::number(code);
    setValue(KeyTranslator, value);
    return writeValue(KeyTranslator, value);
}

void ConfigureManager::setValue(int key, const QString &value)
{
    setValue(keyName(key), value);
}

void ConfigureManager::setValue(const QString &name, const QString &value)
{
    for (const auto &configure : m_configures) {
        if (configure->name() == name) {
            configure->setValue(value);
            return;
        }
    }
    m_configures.push_back(std::make_unique<Configure>(name, value));
}

bool ConfigureManager::writeValue(int key, const QString &value) const
{
    if (m_requestedPath.isEmpty())
        return false;
    QDomDocument document;
    QFile file(m_requestedPath);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file)) {
            qWarning("[ConfigureManager::writeValue]Cannot read %s; the setting lasts for this run only.",
                     qUtf8Printable(m_requestedPath));
            return false;
        }
        file.close();
    } else {
        document.appendChild(document.createProcessingInstruction(
            QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
        document.appendChild(document.createElement(QStringLiteral("Setup")));
    }
    QDomElement root = document.documentElement();
    QDomElement setting = root.firstChildElement(keyName(key));
    if (setting.isNull())
        setting = root.appendChild(document.createElement(keyName(key))).toElement();
    QDomElement valueElement = setting.firstChildElement(QStringLiteral("Value"));
    if (valueElement.isNull())
        valueElement = setting.appendChild(document.createElement(QStringLiteral("Value"))).toElement();
    while (valueElement.hasChildNodes())
        valueElement.removeChild(valueElement.firstChild());
    valueElement.appendChild(document.createTextNode(value));

    // The writer says once per run when the file cannot be written; the setting stays in memory.
    QDir().mkpath(QFileInfo(m_requestedPath).absolutePath());
    return VexoTool::UserFileWriter::write(m_requestedPath, document.toByteArray(4));
}

int ConfigureManager::signedValue(int key, int defaultValue) const
{
    const Configure *configure = find(key);
    return configure ? configure->value().toInt(nullptr, 10) : defaultValue;
}

} // namespace apt
