// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "configuremanager.h"

#include <akloguitoolkit/cgenericds.h>

#include <QDebug>
#include <QTextCodec>

#include <array>

namespace apt {

namespace {

constexpr std::array<const char *, 9> KeyNames = {
    "Translator", "Languages", "LogLevel", "VersionType", "PingThread", "TaskThread", "LogSaveDay", "Skin", "Filter",
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

int ConfigureManager::signedValue(int key, int defaultValue) const
{
    const Configure *configure = find(key);
    return configure ? configure->value().toInt(nullptr, 10) : defaultValue;
}

} // namespace apt
