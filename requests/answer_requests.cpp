// A pupil's answers to a diagnostic sheet, as the teacher typed them.
#include "requests/requests.h"

#include "errors/errors.h"

TAnswersRead ReadPupilAnswers(TOperation operation, const std::vector<TSheetProblem>& problems,
                              const std::vector<std::string>& texts, const std::string& blank)
{
    const TTypedAnswers read = ReadTypedAnswers(operation, texts, blank);
    if (read.Refused)
        throw ERefused(std::to_string(read.Refused) + "問目の答え「" + texts[static_cast<size_t>(read.Refused - 1)] + "」" +
                           read.Why + "。",
                       read.Refused);
    TAnswersRead answers{read.Answers, Diagnose(operation, problems, read.Answers), {}};
    answers.Text = DiagnosisText(operation, problems, answers.Diagnosis);
    return answers;
}
