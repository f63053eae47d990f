// Compiles against the installed headers: the host API of a score and its staffs.
#include <corvendi/Score.h>
#include <corvendi/Staff.h>

int main() {
    auto score = corvendi::Score::Create();
    score->CreateDefault();
    return score->Staff(1)->ID().empty() ? 1 : score->CurPage() - 1;
}
