#pragma once

namespace tallivo {

class MessageService;
class NewExerciseDialog;
class OpenFileDialog;
class PrintService;
class QuestionService;
class SaveFileDialog;

// The dialogs the exercises show, each behind a service tests replace.
struct ExerciseServices {
    MessageService& messages;
    QuestionService& questions;
    NewExerciseDialog& newExercise;
    OpenFileDialog& open;
    SaveFileDialog& save;
    PrintService& print;
};

} // namespace tallivo
