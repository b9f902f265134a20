#include "fit/ObservedTable.hpp"

#include "companion/CommandError.hpp"

#include <gtest/gtest.h>

namespace tessen::fit {
namespace {

TEST(ObservedTable, CommaSeparatedWithQuotedListsCommentsAndGaps) {
    const ObservedTable table =
        read_observed_table("# water, three species\n"
                            "\n"
                            "isotopologue, name, A, B, C, sigma_A, sigma_B, sigma_C, corr_B\n"
                            "-, parent, 835840.3, 435351.7, 278138.7, 0.02, 0.05, 0.03, -12.5\n"
                            "\"2:2H,3:2H\", , -, 218038.3, 145258.0, -, 0.1, 0.1, \n"
                            "  3:2H ,\"say \"\"HDO\"\"\",,1e5,+7E4,,1,2, # a comment\n",
                            "w.csv");
    EXPECT_TRUE(table.weighted);
    ASSERT_EQ(table.rows.size(), 3u);
    const ObservedRow& parent = table.rows[0];
    EXPECT_EQ(parent.line, 4u);
    EXPECT_EQ(parent.label, "parent");
    EXPECT_FALSE(parent.set);
    EXPECT_EQ(parent.isotopologue, "");
    EXPECT_EQ(parent.constant[0], 835840.3);
    EXPECT_EQ(parent.sigma[1], 0.05);
    EXPECT_EQ(parent.sigma[2], 0.03);
    EXPECT_EQ(parent.correction[1], -12.5);
    EXPECT_EQ(parent.correction[0], 0.0);
    const ObservedRow& dd = table.rows[1];
    EXPECT_EQ(dd.isotopologue, "2:2H,3:2H");
    EXPECT_EQ(dd.label, "2:2H,3:2H");
    EXPECT_FALSE(dd.constant[0]);
    EXPECT_FALSE(dd.sigma[0]);
    EXPECT_EQ(dd.constant[2], 145258.0);
    EXPECT_EQ(dd.correction[1], 0.0);
    const ObservedRow& hd = table.rows[2];
    EXPECT_EQ(hd.line, 6u);
    EXPECT_EQ(hd.isotopologue, "3:2H");
    EXPECT_EQ(hd.label, "say \"HDO\"");
    EXPECT_FALSE(hd.constant[0]);
    EXPECT_EQ(hd.constant[1], 1e5);
    EXPECT_EQ(hd.constant[2], 7e4);
}

TEST(ObservedTable, BlankSeparatedBySetWithAnyCaseAndCrLf) {
    const ObservedTable table = read_observed_table("\xEF\xBB\xBF"
                                                    "Set\tb\tNAME\r\n"
                                                    "1  6081.49  \"O C S\"\r\n"
                                                    "   # only a comment\r\n"
                                                    "3 5932.83 -\r\n"
                                                    "2\t-\t\"\"",
                                                    "ocs.txt");
    EXPECT_FALSE(table.weighted);
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[0].set, 1);
    EXPECT_EQ(table.rows[0].label, "O C S");
    EXPECT_EQ(table.rows[0].constant[1], 6081.49);
    EXPECT_FALSE(table.rows[0].constant[0]);
    EXPECT_EQ(table.rows[1].line, 4u);
    EXPECT_EQ(table.rows[1].label, "-"); // the name column's "-" is a name as written
    EXPECT_EQ(table.rows[2].label, "2");
    EXPECT_FALSE(table.rows[2].constant[1]);
}

TEST(ObservedTable, FaultsGiveTheirLineAndSayWhat) {
    struct Fault {
        const char* text;
        std::size_t line;
        const char* what;
    };
    const Fault faults[] = {
        {"", 0, "no header line naming the columns"},
        {"# nothing\n\n", 0, "no header line"},
        {"set,A,B\n", 0, "no rows of measured constants"},
        {"set,A,X\n1,2,3\n", 1, "unknown column 'X' (the columns are set, isotopologue"},
        {"set,A,,B\n", 1, "an empty column name"},
        {"set,A,a\n", 1, "column 'a' given twice"},
        {"name,A\n", 1, "needs a 'set' or an 'isotopologue' column"},
        {"set,isotopologue,A\n", 1, "both 'set' and 'isotopologue'"},
        {"set,name\n", 1, "none of the constants A, B, C"},
        {"set,B,sigma_A\n", 1, "column 'sigma_A' without the column 'A'"},
        {"set,B,corr_C\n", 1, "column 'corr_C' without the column 'C'"},
        {"set,A\n1,12x\n", 2, "'12x' is not a number (column A)"},
        {"set,A\n1,nan\n", 2, "'nan' is not a number"},
        {"set,A\n1,inf\n", 2, "'inf' is not a number"},
        {"set,A\n1,1e999\n", 2, "'1e999' is not a number"},
        {"set,A\n1,+-3\n", 2, "'+-3' is not a number"},
        {"set A\n1 0\n", 2, "A must be greater than 0, not 0"},
        {"set,C\n\n1,-5.5\n", 3, "C must be greater than 0, not -5.5"},
        {"set,B,sigma_B\n1,6000,0\n", 2, "sigma_B must be greater than 0"},
        {"set,B,corr_B\n1,6000,-6000\n", 2, "B + corr_B must be greater than 0"},
        {"set,B,sigma_B\n1,6000,-\n", 2, "B is measured but sigma_B is not given"},
        {"set,A,B,sigma_B\n1,9000,6000,0.1\n", 2, "A is measured but sigma_A"},
        {"set,A,B\n1,9000\n", 2, "2 fields where the header has 3 columns"},
        {"set A B\n1 9000 6000 7\n", 2, "4 fields where the header has 3 columns"},
        {"set,A\n1.5,9000\n", 2, "'1.5' is not a set number"},
        {"set,A\n,9000\n", 2, "'' is not a set number"},
        {"isotopologue,A\n\"2:2H,9000\n", 2, "a quote that is not closed"},
        {"isotopologue,A\n\"2:2H\"x,9000\n", 2, "text after a closing quote"},
        {"isotopologue A\n\"2:2H\"x 9000\n", 2, "text after a closing quote"},
    };
    for (const Fault& fault : faults) {
        try {
            read_observed_table(fault.text, "obs.csv");
            ADD_FAILURE() << "accepted: " << fault.text;
        } catch (const companion::CommandError& error) {
            EXPECT_EQ(error.status(), 2) << fault.text;
            EXPECT_EQ(error.file(), "obs.csv");
            EXPECT_EQ(error.line(), fault.line) << fault.text;
            EXPECT_NE(std::string(error.what()).find(fault.what), std::string::npos)
                << fault.text << ": " << error.what();
        }
    }
}

} // namespace
} // namespace tessen::fit
