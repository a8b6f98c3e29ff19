#include "alliance/rules/surveyoutputs.h"

#include <gtest/gtest.h>

namespace {

TEST(SurveyOutputsTest, OnlyASurveysTextSplitsIntoItsThreeOutputs)
{
    const QString text = SurveyOutputs::heading(QStringLiteral("同盟名簿")) + QStringLiteral("a\r\n\r\n") +
                         SurveyOutputs::heading(QStringLiteral("同盟データ")) + QStringLiteral("b\r\n") +
                         SurveyOutputs::heading(QStringLiteral("出城リスト")) + QStringLiteral("c");
    const std::optional<SurveyOutputs::Outputs> outputs = SurveyOutputs::outputsOf(text);
    ASSERT_TRUE(outputs);
    EXPECT_EQ(outputs->roster, QStringLiteral("a\r\n"));
    EXPECT_EQ(outputs->report, QStringLiteral("b"));
    EXPECT_EQ(outputs->castles, QStringLiteral("c"));
    EXPECT_EQ(SurveyOutputs::text(*outputs), text) << "the text the survey shows splits back into its parts";
    EXPECT_EQ(SurveyOutputs::csvSections(text), QStringList({QStringLiteral("a\r\n"), QStringLiteral("b")}));

    const QString roster = QStringLiteral("\"凛\",\"1\",\"2\"\r\n");
    EXPECT_FALSE(SurveyOutputs::outputsOf(roster));
    EXPECT_TRUE(SurveyOutputs::csvSections(roster).isEmpty());
}

} // namespace
