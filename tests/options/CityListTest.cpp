#include "options/CityList.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tramble {
namespace {

std::string CityFile(int count)
{
    std::string text = "[citylist]\ncount=" + std::to_string(count) + "\n";
    for (int i = 1; i <= count; ++i) {
        // Names in reverse order, so that sorting shows.
        text += "cityname" + std::to_string(i) + "=City " + std::to_string(1000 - i) + "\n";
        text += "citycode" + std::to_string(i) + "=C" + std::to_string(i) + "\n";
    }
    return text;
}

std::vector<std::string> Names(const TCityList& list)
{
    std::vector<std::string> names;
    for (const TCity& city : list.Cities())
        names.push_back(city.Name);
    return names;
}

struct CityListTest : ::testing::Test {
    TFastIniFile& Ini(const std::string& text)
    {
        test::WriteFileBytes(dir.file("x.ini"), text);
        ini = std::make_unique<TFastIniFile>(dir.file("x.ini"));
        return *ini;
    }
    test::TempDir dir;
    std::unique_ptr<TFastIniFile> ini;
};

TEST_F(CityListTest, SixtyStoredCitiesFillTheFirstFiftyOneAndStoreFiftyOne)
{
    TCityList list;
    list.Load(Ini(CityFile(60)), "C7");
    ASSERT_EQ(list.Count(), 51);
    EXPECT_EQ(list.Cities().front().Name, "City 949"); // sorted: the 51st read is the smallest
    EXPECT_EQ(list.ChosenCode(), "C7");
    list.Store(*ini);
    EXPECT_EQ(ini->ReadNumber("citylist", "count", 0), 51);
    EXPECT_EQ(ini->ReadText("citylist", "cityname1", ""), "City 949");
    EXPECT_EQ(ini->ReadText("citylist", "citycode1", ""), "C51");
    EXPECT_FALSE(ini->HasKey("citylist", "cityname52"));
}

TEST_F(CityListTest, NamesGoIntoSortedPlaceIgnoringCaseAndEmptyEntriesAreSkipped)
{
    TCityList list;
    list.Load(Ini("[citylist]\ncount=5\ncityname1=wuhan / Hubei\ncitycode1=W1\n"
                  "cityname2=Berlin / Berlin\ncitycode2=B1\ncityname3=\ncitycode3=X\n"
                  "cityname4=Amsterdam\ncitycode4=\ncityname5=Lisbon\ncitycode5=L1\n"),
              "nothing");
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Berlin / Berlin", "Lisbon", "wuhan / Hubei"}));
    EXPECT_EQ(list.Cities()[2].Code, "W1");
    EXPECT_EQ(list.Chosen(), 0); // an unknown code chooses the first
    list.Load(*ini, "w1");
    EXPECT_EQ(list.ChosenName(), "wuhan / Hubei");
}

TEST_F(CityListTest, FindingAListedCodeOnlyChoosesItAndANewOneGoesToTheEnd)
{
    TCityList list;
    list.Load(
        Ini("[citylist]\ncount=2\ncityname1=Berlin / Berlin\ncitycode1=B1\ncityname2=Rome / Lazio\ncitycode2=R1\n"),
        "R1");
    EXPECT_EQ(list.Add("Berlin", "Brandenburg", "b1"), 0);
    EXPECT_EQ(list.Cities()[0].Name, "Berlin / Berlin");
    EXPECT_EQ(list.ChosenCode(), "B1");
    EXPECT_EQ(list.Add("Aachen", "NRW", "A1"), 2);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Berlin / Berlin", "Rome / Lazio", "Aachen / NRW"}));
    EXPECT_EQ(list.ChosenCode(), "A1");
    // The next opening puts it in its sorted place.
    list.Store(*ini);
    TCityList again;
    again.Load(*ini, "A1");
    EXPECT_EQ(again.Cities()[0].Name, "Aachen / NRW");
    EXPECT_EQ(again.Chosen(), 0);
}

TEST_F(CityListTest, DeletingTheLastChoosesTheNewLastAndTheOnlyLeavesNothing)
{
    TCityList list;
    list.Load(
        Ini("[citylist]\ncount=3\ncityname1=A\ncitycode1=1\ncityname2=B\ncitycode2=2\ncityname3=C\ncitycode3=3\n"),
        "3");
    list.DeleteChosen();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(list.ChosenName(), "B");
    list.Choose(0);
    list.DeleteChosen();
    EXPECT_EQ(list.ChosenName(), "B");
    list.DeleteChosen();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Chosen(), -1);
    EXPECT_EQ(list.ChosenCode(), "");
    list.DeleteChosen(); // nothing left: nothing happens
    EXPECT_EQ(list.Count(), 0);
    list.Store(*ini);
    EXPECT_EQ(ini->ReadNumber("citylist", "count", -1), 0);
}

TEST_F(CityListTest, NothingChosenDeletesTheLast)
{
    TCityList list;
    list.Load(Ini("[citylist]\ncount=2\ncityname1=A\ncitycode1=1\ncityname2=B\ncitycode2=2\n"), "1");
    list.Choose(-1);
    list.DeleteChosen();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A"}));
    EXPECT_EQ(list.ChosenName(), "A");
}

} // namespace
} // namespace tramble
