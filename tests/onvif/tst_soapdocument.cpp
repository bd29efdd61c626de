// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicemgmt.h"
#include "soapdocument.h"

#include <QElapsedTimer>
#include <QTest>

using onvif::SoapDocument;

namespace {
// A well-formed document of exactly @p size bytes.
QByteArray documentOfSize(qsizetype size)
{
    const QByteArray head = "<a>";
    const QByteArray tail = "</a>";
    return head + QByteArray(size - head.size() - tail.size(), 'x') + tail;
}

QByteArray nested(int depth)
{
    return QByteArray("<e>").repeated(depth) + QByteArray("</e>").repeated(depth);
}
} // namespace

class tst_SoapDocument : public QObject
{
    Q_OBJECT

private slots:
    void hostileTextIsRefusedWithAReason_data();
    void hostileTextIsRefusedWithAReason();
    void sizeLimitHoldsAtTheBoundary();
    void depthLimitHoldsAtTheBoundary();
    void tenMegabyteResponseIsRefusedWithoutReadingIt();
    void qnamesResolveByTheirInScopePrefix();
};

void tst_SoapDocument::hostileTextIsRefusedWithAReason_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("reason");
    QTest::addRow("billion laughs") << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">"
                                                  "<!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">"
                                                  "<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">]>"
                                                  "<lolz>&lol3;</lolz>")
                                    << "document type";
    QTest::addRow("harmless doctype") << QByteArray("<!DOCTYPE a><a/>") << "document type";
    QTest::addRow("external entity") << QByteArray("<!DOCTYPE a [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><a>&x;</a>")
                                     << "document type";
    QTest::addRow("undeclared entity") << QByteArray("<a>&x;</a>") << "malformed";
    QTest::addRow("truncated") << QByteArray("<a><b>text</b>") << "malformed";
    QTest::addRow("two roots") << QByteArray("<a/><b/>") << "malformed";
    QTest::addRow("unbound prefix") << QByteArray("<p:a/>") << "malformed";
    QTest::addRow("empty") << QByteArray() << "empty";
}

void tst_SoapDocument::hostileTextIsRefusedWithAReason()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, reason);
    const auto r = SoapDocument::parse(xml, 64 * 1024);
    QVERIFY(!r);
    QVERIFY2(r.error.contains(reason), qPrintable(r.error));
}

void tst_SoapDocument::sizeLimitHoldsAtTheBoundary()
{
    QVERIFY(SoapDocument::parse(documentOfSize(1000), 1000));
    const auto over = SoapDocument::parse(documentOfSize(1001), 1000);
    QVERIFY(!over);
    QVERIFY2(over.error.contains("exceeds the limit"), qPrintable(over.error));
}

void tst_SoapDocument::depthLimitHoldsAtTheBoundary()
{
    QVERIFY(SoapDocument::parse(nested(SoapDocument::kMaxDepth), 64 * 1024));
    const auto deeper = SoapDocument::parse(nested(SoapDocument::kMaxDepth + 1), 64 * 1024);
    QVERIFY(!deeper);
    QVERIFY2(deeper.error.contains("nested deeper"), qPrintable(deeper.error));
}

void tst_SoapDocument::tenMegabyteResponseIsRefusedWithoutReadingIt()
{
    const QByteArray huge = documentOfSize(10 * 1024 * 1024);
    const auto r = onvif::devicemgmt::parseDeviceInformation(huge);
    QVERIFY(!r);
    QVERIFY2(r.error.contains("exceeds the limit"), qPrintable(r.error));
}

void tst_SoapDocument::qnamesResolveByTheirInScopePrefix()
{
    const auto r = SoapDocument::parse("<a xmlns:p=\"urn:outer\"><b xmlns:p=\"urn:inner\">p:x</b><c>p:y</c></a>", 1024);
    QVERIFY(r);
    const SoapDocument &doc = *r.value;
    const int b = doc.child(0, u"", u"b");
    const int c = doc.child(0, u"", u"c");
    QCOMPARE(doc.resolveQName(b, doc.element(b).text), (onvif::QualifiedName{"urn:inner", "x"}));
    QCOMPARE(doc.resolveQName(c, doc.element(c).text), (onvif::QualifiedName{"urn:outer", "y"}));
    QVERIFY(!doc.resolveQName(c, u"q:y"));
}

QTEST_GUILESS_MAIN(tst_SoapDocument)
#include "tst_soapdocument.moc"
