#include "analysis_model.h"

namespace tallivo {

Reference Reference::Of(Kind language) {
    switch (language) {
    case Kind::Italian:
        return {Kind::Italian, QStringLiteral("italiano"), ItalianFrequencies()};
    case Kind::English:
        return {Kind::English, QStringLiteral("inglese"), EnglishFrequencies()};
    case Kind::None:
    case Kind::Text:
        break;
    }
    return {};
}

AnalysisModel::AnalysisModel(QObject* parent)
    : QObject(parent) {
    setObjectName(QStringLiteral("analysisModel"));
}

void AnalysisModel::SetResult(AnalysisResult result) {
    result_ = std::move(result);
    emit resultChanged(*result_);
}

void AnalysisModel::SetReference(Reference reference) {
    reference_ = std::move(reference);
    emit referenceChanged(reference_);
}

void AnalysisModel::SetScaleIndex(int index) {
    if (index != scaleIndex_) {
        scaleIndex_ = index;
        emit scaleChanged(index);
    }
}

} // namespace tallivo
