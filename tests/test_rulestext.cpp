#include "RulesCaption.h"
#include "RulesText.h"
#include <QtTest>

namespace {

using DoubleOn = GameRules::DoubleOn;

// Every field the text sets, in one comparable row.
struct Fields {
    int decks;
    bool hitsSoft17;
    bool noHoleCard;
    double natural;
    DoubleOn doubleOn;
    bool das;
    int splitHands;
    bool resplitAces;
    bool surrender;

    static Fields of(const GameRules &r)
    {
        return {r.decks, r.dealerHitsSoft17, r.noHoleCard, r.naturalPayout, r.doubleOn,
                r.doubleAfterSplit, r.splitHands, r.resplitAces, r.lateSurrender};
    }
    bool operator==(const Fields &o) const
    {
        return decks == o.decks && hitsSoft17 == o.hitsSoft17 && noHoleCard == o.noHoleCard
            && natural == o.natural && doubleOn == o.doubleOn && das == o.das
            && splitHands == o.splitHands && resplitAces == o.resplitAces && surrender == o.surrender;
    }
};

const Fields defaults{6, false, false, 1.5, DoubleOn::AnyTwo, true, 4, false, false};

GameRules parsed(const char *text)
{
    std::string error;
    const auto rules = RulesText::parse(text, &error);
    if (!rules)
        qFatal("refused %s: %s", text, error.c_str());
    return *rules;
}

} // namespace

Q_DECLARE_METATYPE(Fields)

class TestRulesText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void casinoDefaultsAreTheOmittedKeys()
    {
        QVERIFY(Fields::of(GameRules::casinoDefaults()) == defaults);
        QVERIFY(GameRules::casinoDefaults().dealerPeeks);
    }

    void parsesEachValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Fields>("fields");
        auto with = [](auto change) { Fields f = defaults; change(f); return f; };
        QTest::newRow("one key") << "decks=6" << defaults;
        QTest::newRow("single deck") << "decks=1" << with([](Fields &f) { f.decks = 1; });
        QTest::newRow("double deck") << "decks=2" << with([](Fields &f) { f.decks = 2; });
        QTest::newRow("four decks") << "decks=4" << with([](Fields &f) { f.decks = 4; });
        QTest::newRow("eight decks") << "decks=8" << with([](Fields &f) { f.decks = 8; });
        QTest::newRow("hit soft 17") << "soft17=hit" << with([](Fields &f) { f.hitsSoft17 = true; });
        QTest::newRow("stand soft 17") << "soft17=stand" << defaults;
        QTest::newRow("no hole card") << "hole=none" << with([](Fields &f) { f.noHoleCard = true; });
        QTest::newRow("peek") << "hole=peek" << defaults;
        QTest::newRow("6:5") << "natural=6:5" << with([](Fields &f) { f.natural = 1.2; });
        QTest::newRow("1:1") << "natural=1:1" << with([](Fields &f) { f.natural = 1.0; });
        QTest::newRow("double 9-11") << "double=9-11" << with([](Fields &f) { f.doubleOn = DoubleOn::NineToEleven; });
        QTest::newRow("double 10-11") << "double=10-11" << with([](Fields &f) { f.doubleOn = DoubleOn::TenToEleven; });
        QTest::newRow("no das") << "das=no" << with([](Fields &f) { f.das = false; });
        QTest::newRow("split 2") << "split=2" << with([](Fields &f) { f.splitHands = 2; });
        QTest::newRow("split 3") << "split=3" << with([](Fields &f) { f.splitHands = 3; });
        QTest::newRow("resplit aces") << "resplitAces=yes" << with([](Fields &f) { f.resplitAces = true; });
        QTest::newRow("surrender") << "surrender=late" << with([](Fields &f) { f.surrender = true; });
        QTest::newRow("surrender no") << "surrender=no" << defaults;
        QTest::newRow("spaces around fields")
            << " decks = 2 , soft17=hit " << with([](Fields &f) { f.decks = 2; f.hitsSoft17 = true; });
        QTest::newRow("the full example")
            << "decks=6,soft17=stand,hole=peek,natural=3:2,double=any,das=yes,split=4,resplitAces=no,surrender=late"
            << with([](Fields &f) { f.surrender = true; });
        QTest::newRow("everything changed")
            << "surrender=late,resplitAces=yes,split=3,das=no,double=10-11,natural=6:5,hole=none,soft17=hit,decks=8"
            << Fields{8, true, true, 1.2, DoubleOn::TenToEleven, false, 3, true, true};
    }
    void parsesEachValue()
    {
        QFETCH(QString, text);
        QFETCH(Fields, fields);
        const GameRules rules = parsed(text.toUtf8().constData());
        QVERIFY(rules.casino);
        QVERIFY(Fields::of(rules) == fields);
        QCOMPARE(rules.dealerPeeks, !fields.noHoleCard);
    }

    void refusesBadText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("named"); // what the message must name
        QTest::newRow("empty text") << "" << "empty field";
        QTest::newRow("empty field") << "decks=6,,das=no" << "empty field";
        QTest::newRow("trailing comma") << "decks=6," << "empty field";
        QTest::newRow("unknown key") << "deck=6" << "unknown key \"deck\"";
        QTest::newRow("key in the wrong case") << "Decks=6" << "unknown key \"Decks\"";
        QTest::newRow("unknown decks") << "decks=3" << "unknown value \"3\" for decks (one of 1|2|4|6|8)";
        QTest::newRow("unknown soft17") << "soft17=yes" << "unknown value \"yes\" for soft17";
        QTest::newRow("unknown natural") << "natural=2:1" << "unknown value \"2:1\" for natural";
        QTest::newRow("unknown double") << "double=9-10" << "unknown value \"9-10\" for double";
        QTest::newRow("split 1") << "split=1" << "unknown value \"1\" for split";
        QTest::newRow("split 5") << "split=5" << "unknown value \"5\" for split";
        QTest::newRow("early surrender") << "surrender=early" << "unknown value \"early\" for surrender";
        QTest::newRow("empty value") << "das=" << "unknown value \"\" for das";
        QTest::newRow("no equals sign") << "decks" << "\"decks\" is not key=value";
        QTest::newRow("repeated key") << "decks=6,das=no,decks=6" << "\"decks\" is given twice";
        QTest::newRow("program among keys") << "program,decks=6" << "\"program\" is not key=value";
    }
    void refusesBadText()
    {
        QFETCH(QString, text);
        QFETCH(QString, named);
        std::string error;
        QVERIFY(!RulesText::parse(text.toStdString(), &error));
        QVERIFY2(QString::fromStdString(error).contains(named), error.c_str());
    }

    void programWord()
    {
        const GameRules program = parsed("program");
        QVERIFY(!program.casino);
        QVERIFY(!program.dealerPeeks);
        QCOMPARE(program.naturalPayout, 1.0);
        QVERIFY(program.dealerDraws == GameRules::program().dealerDraws);
        QCOMPARE(RulesText::format(GameRules::program()), std::string("program"));
    }

    void formatsEveryKeyInOrder()
    {
        QCOMPARE(RulesText::format(GameRules::casinoDefaults()),
                 std::string("decks=6,soft17=stand,hole=peek,natural=3:2,double=any,das=yes,split=4,resplitAces=no,surrender=no"));
        GameRules odd = GameRules::casinoDefaults();
        odd.decks = 3;
        QCOMPARE(RulesText::format(odd).substr(0, 8), std::string("decks=?,"));
        QVERIFY(!RulesText::parse(RulesText::format(odd)));
    }

    void everyRuleSetRoundTrips()
    {
        int sets = 0;
        for (int decks : {1, 2, 4, 6, 8})
            for (bool h17 : {false, true})
                for (bool none : {false, true})
                    for (double natural : {1.5, 1.2, 1.0})
                        for (DoubleOn on : {DoubleOn::AnyTwo, DoubleOn::NineToEleven, DoubleOn::TenToEleven})
                            for (bool das : {false, true})
                                for (int split : {2, 3, 4})
                                    for (bool rsa : {false, true})
                                        for (bool surrender : {false, true}) {
                                            const Fields fields{decks, h17, none, natural, on, das, split, rsa, surrender};
                                            GameRules rules = GameRules::casinoDefaults();
                                            rules.decks = decks;
                                            rules.dealerHitsSoft17 = h17;
                                            rules.noHoleCard = none;
                                            rules.naturalPayout = natural;
                                            rules.doubleOn = on;
                                            rules.doubleAfterSplit = das;
                                            rules.splitHands = split;
                                            rules.resplitAces = rsa;
                                            rules.lateSurrender = surrender;
                                            const std::string text = RulesText::format(rules);
                                            const auto back = RulesText::parse(text);
                                            QVERIFY2(back && Fields::of(*back) == fields, text.c_str());
                                            QCOMPARE(RulesText::format(*back), text);
                                            ++sets;
                                        }
        QCOMPARE(sets, 5 * 2 * 2 * 3 * 3 * 2 * 3 * 2 * 2);
    }

    void captions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("felt");
        QTest::addColumn<QString>("shortName");
        QTest::newRow("program") << "program" << "" << "Vantrel table";
        QTest::newRow("six decks")
            << "decks=6" << "6 DECKS · DEALER STANDS ON SOFT 17 · BLACKJACK PAYS 3 TO 2" << "6 decks, S17, DAS, 3:2";
        QTest::newRow("single deck 6:5")
            << "decks=1,soft17=hit,natural=6:5"
            << "1 DECK · DEALER HITS SOFT 17 · BLACKJACK PAYS 6 TO 5" << "1 deck, H17, DAS, 6:5";
        QTest::newRow("european even money")
            << "hole=none,natural=1:1,das=no,surrender=late"
            << "6 DECKS · DEALER STANDS ON SOFT 17 · BLACKJACK PAYS 1 TO 1 · NO HOLE CARD · LATE SURRENDER"
            << "6 decks, S17, no DAS, 1:1, no hole card, late surrender";
        QTest::newRow("doubling and splitting limits")
            << "decks=8,double=9-11,split=2,resplitAces=yes"
            << "8 DECKS · DEALER STANDS ON SOFT 17 · BLACKJACK PAYS 3 TO 2"
            << "8 decks, S17, DAS, 3:2, double 9-11, split to 2, resplit aces";
        QTest::newRow("ten to eleven") << "double=10-11,split=3" << "6 DECKS · DEALER STANDS ON SOFT 17 · BLACKJACK PAYS 3 TO 2"
                                       << "6 decks, S17, DAS, 3:2, double 10-11, split to 3";
    }
    void captions()
    {
        QFETCH(QString, text);
        QFETCH(QString, felt);
        QFETCH(QString, shortName);
        const GameRules rules = parsed(text.toUtf8().constData());
        QCOMPARE(QString::fromStdString(RulesCaption::felt(rules)), felt);
        QCOMPARE(QString::fromStdString(RulesCaption::shortName(rules)), shortName);
    }
};

QTEST_APPLESS_MAIN(TestRulesText)
#include "test_rulestext.moc"
