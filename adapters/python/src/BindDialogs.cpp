// The dialog models (controls as plain fields, user actions as methods), the presenter seam a
// Python class may implement, and the scripted presenter that answers dialogs from prepared
// answers. A dialog handed to a presenter lives only while it is presented; a dialog made in
// Python keeps the score it was initialised with alive.
#include <corvendi/Font.h>
#include <corvendi/Score.h>
#include <corvendi/dialogs/DeleteMeasureDialog.h>
#include <corvendi/dialogs/DeleteStaffDialog.h>
#include <corvendi/dialogs/Dialog.h>
#include <corvendi/dialogs/DialogControl.h>
#include <corvendi/dialogs/DialogPresenter.h>
#include <corvendi/dialogs/InsertMeasureDialog.h>
#include <corvendi/dialogs/InsertStaffDialog.h>
#include <corvendi/dialogs/MeasurePropertiesDialog.h>
#include <corvendi/dialogs/ScorePropertiesDialog.h>
#include <corvendi/dialogs/ScriptedPresenter.h>
#include <corvendi/dialogs/StaffPropertiesDialog.h>
#include <pybind11/stl.h>

#include <memory>
#include <string>

#include "Bindings.h"

namespace corvendi::python {

namespace {

class PyDialogPresenter : public DialogPresenter {
  public:
    void Present(Dialog& dialog) override {
        py::gil_scoped_acquire gil;
        py::function override =
            py::get_override(static_cast<const DialogPresenter*>(this), "present");
        if (!override) {
            CancelPresenter().Present(dialog);
            return;
        }
        try {
            override(py::cast(&dialog, py::return_value_policy::reference));
        } catch (py::error_already_set& error) {
            error.discard_as_unraisable("present");
        }
    }

    bool ChooseFont(Font& font) override {
        py::gil_scoped_acquire gil;
        py::function override =
            py::get_override(static_cast<const DialogPresenter*>(this), "choose_font");
        if (!override) return DialogPresenter::ChooseFont(font);
        try {
            return py::bool_(override(py::cast(&font, py::return_value_policy::reference)));
        } catch (py::error_already_set& error) {
            error.discard_as_unraisable("choose_font");
            return false;
        }
    }
};

void BindControls(py::module_& m) {
    py::enum_<ControlKind>(m, "ControlKind")
        .value("Label", ControlKind::Label)
        .value("Frame", ControlKind::Frame)
        .value("TextBox", ControlKind::TextBox)
        .value("UpDown", ControlKind::UpDown)
        .value("Option", ControlKind::Option)
        .value("CheckBox", ControlKind::CheckBox)
        .value("List", ControlKind::List)
        .value("Button", ControlKind::Button)
        .value("Tabs", ControlKind::Tabs)
        .value("Picture", ControlKind::Picture);

    py::class_<ListItem>(m, "ListItem")
        .def_readonly("text", &ListItem::Text)
        .def_readonly("data", &ListItem::Data)
        .def("__repr__", [](const ListItem& item) { return "<ListItem '" + item.Text + "'>"; });

    py::class_<DialogControl>(m, "DialogControl", "One control of a dialog, as the form holds it.")
        .def_readonly("name", &DialogControl::Name)
        .def_readonly("kind", &DialogControl::Kind)
        .def_readonly("caption", &DialogControl::Caption)
        .def_readonly("label", &DialogControl::Label)
        .def_readonly("frame", &DialogControl::Frame)
        .def_readonly("tab", &DialogControl::Tab)
        .def_readonly("group", &DialogControl::Group)
        .def_readonly("text", &DialogControl::Text)
        .def_readonly("value", &DialogControl::Value)
        .def_readonly("items", &DialogControl::Items)
        .def_readonly("list_index", &DialogControl::ListIndex)
        .def_readonly("buddy", &DialogControl::Buddy)
        .def_readonly("min", &DialogControl::Min)
        .def_readonly("max", &DialogControl::Max)
        .def_readonly("position", &DialogControl::Position)
        .def_readonly("enabled", &DialogControl::Enabled)
        .def_readonly("visible", &DialogControl::Visible)
        .def_readonly("locked", &DialogControl::Locked)
        .def("__repr__", [](const DialogControl& c) { return "<DialogControl '" + c.Name + "'>"; });
}

void BindDialog(py::module_& m) {
    py::class_<Dialog>(m, "Dialog",
                       "A modal dialog as a model. Actions name a control by its name, its "
                       "caption or the caption of the label before it; they return False and "
                       "change nothing on a missing, unsuitable or disabled control.")
        .def_property_readonly("form_name", &Dialog::FormName)
        .def_property_readonly("title", &Dialog::Title)
        .def_property_readonly("controls", &Dialog::Controls)
        .def(
            "find",
            [](const Dialog& d, const std::string& key) -> py::object {
                const DialogControl* control = d.Find(key);
                return control ? py::cast(*control) : py::none();
            },
            py::arg("key"))
        .def_property_readonly("is_open", &Dialog::IsOpen)
        .def_property_readonly("result", &Dialog::Result, "1 Ok, 2 Cancel, 5 open or closed.")
        .def_property_readonly("beeps", &Dialog::Beeps)
        .def("focus", &Dialog::Focus, py::arg("control"))
        .def("mouse_down", &Dialog::MouseDown, py::arg("control"))
        .def("mouse_up", &Dialog::MouseUp, py::arg("control"))
        .def("key_press", &Dialog::KeyPress, py::arg("control"), py::arg("key"))
        .def("set_text", &Dialog::SetText, py::arg("control"), py::arg("text"))
        .def("leave", &Dialog::Leave, py::arg("control"))
        .def("type_text", &Dialog::TypeText, py::arg("control"), py::arg("text"))
        .def("select_item", &Dialog::SelectItem, py::arg("control"), py::arg("index"))
        .def("click", &Dialog::Click, py::arg("control"))
        .def("spin_up", &Dialog::SpinUp, py::arg("control"))
        .def("spin_down", &Dialog::SpinDown, py::arg("control"))
        .def("close_by_frame", &Dialog::CloseByFrame)
        .def_property_readonly("left", &Dialog::Left, "The form's place and size, twips.")
        .def_property_readonly("top", &Dialog::Top)
        .def_property_readonly("width", &Dialog::Width)
        .def_property_readonly("height", &Dialog::Height)
        .def("move", &Dialog::Move, py::arg("left"), py::arg("top"));

    py::class_<InsertMeasureDialog, Dialog>(m, "InsertMeasureDialog")
        .def(py::init<>())
        .def("init", &InsertMeasureDialog::Init, py::arg("score"), py::keep_alive<1, 2>())
        .def("set_measure", &InsertMeasureDialog::SetMeasure, py::arg("number"))
        .def("set_after", &InsertMeasureDialog::SetAfter, py::arg("after"))
        .def_property_readonly("quantity", &InsertMeasureDialog::Quantity)
        .def_property_readonly("measure_number", &InsertMeasureDialog::MeasureNumber)
        .def_property_readonly("after", &InsertMeasureDialog::After);
    py::class_<DeleteMeasureDialog, Dialog>(m, "DeleteMeasureDialog")
        .def(py::init<>())
        .def("init", &DeleteMeasureDialog::Init, py::arg("score"), py::keep_alive<1, 2>())
        .def("set_measure", &DeleteMeasureDialog::SetMeasure, py::arg("number"))
        .def_property_readonly("quantity", &DeleteMeasureDialog::Quantity)
        .def_property_readonly("measure_number", &DeleteMeasureDialog::MeasureNumber);
    py::class_<InsertStaffDialog, Dialog>(m, "InsertStaffDialog")
        .def(py::init<>())
        .def("init", &InsertStaffDialog::Init, py::arg("score"), py::keep_alive<1, 2>())
        .def_property_readonly("quantity", &InsertStaffDialog::Quantity)
        .def_property_readonly("position", &InsertStaffDialog::Position)
        .def_property_readonly("instrument", &InsertStaffDialog::Instrument)
        .def_property_readonly("voices", &InsertStaffDialog::Voices)
        .def_property_readonly("clef", &InsertStaffDialog::Clef);
    py::class_<ScorePropertiesDialog, Dialog>(m, "ScorePropertiesDialog")
        .def(py::init<>())
        .def("init", &ScorePropertiesDialog::Init, py::arg("score"), py::keep_alive<1, 2>())
        .def_property_readonly("dirty", &ScorePropertiesDialog::Dirty)
        .def(
            "working_font",
            [](const ScorePropertiesDialog& d, int32_t index) {
                if (index < 0 || index >= ScorePropertiesDialog::kWorkingFonts) {
                    throw py::index_error("font index out of range");
                }
                return std::make_shared<Font>(d.WorkingFont(index));
            },
            py::arg("index"), "A copy of title font 0..4 as the dialog holds it.");
    py::class_<StaffPropertiesDialog, Dialog>(m, "StaffPropertiesDialog")
        .def(py::init<>())
        .def("init", &StaffPropertiesDialog::Init, py::arg("score"), py::keep_alive<1, 2>())
        .def_property_readonly("dirty", &StaffPropertiesDialog::Dirty);
    py::class_<MeasurePropertiesDialog, Dialog>(m, "MeasurePropertiesDialog")
        .def(py::init<>())
        .def("init", &MeasurePropertiesDialog::Init, py::arg("score"), py::keep_alive<1, 2>())
        .def_property_readonly("measure_number", &MeasurePropertiesDialog::MeasureNumber)
        .def_property_readonly("start_time", &MeasurePropertiesDialog::StartTime)
        .def_property_readonly("dirty", &MeasurePropertiesDialog::Dirty);
    py::class_<DeleteStaffDialog, Dialog>(m, "DeleteStaffDialog")
        .def(py::init<>())
        .def("init", &DeleteStaffDialog::Init, py::arg("score"), py::keep_alive<1, 2>())
        .def_property_readonly("quantity", &DeleteStaffDialog::Quantity)
        .def_property_readonly("first_staff", &DeleteStaffDialog::FirstStaff);
}

void BindPresenters(py::module_& m) {
    py::class_<DialogPresenter, PyDialogPresenter, std::shared_ptr<DialogPresenter>>(
        m, "DialogPresenter",
        "Shows dialogs: derive and define present(dialog), which acts on the dialog until it "
        "is closed. Without present(), every dialog is cancelled.")
        .def(py::init<>())
        .def("present", &DialogPresenter::Present, py::arg("dialog"))
        .def("choose_font", &DialogPresenter::ChooseFont, py::arg("font"),
             "A dialog's Font button: change the font and return True, or return False.");

    py::class_<DialogAnswer>(m, "DialogAnswer", "Prepared answers for one dialog.")
        .def(py::init([](std::string form, std::vector<std::pair<std::string, std::string>> values,
                         std::string button) {
                 return DialogAnswer{std::move(form), std::move(values), std::move(button)};
             }),
             py::arg("form") = "", py::arg("values") = py::list(), py::arg("button") = "cmdOk")
        .def_readwrite("form", &DialogAnswer::Form)
        .def_readwrite("values", &DialogAnswer::Values)
        .def_readwrite("button", &DialogAnswer::Button)
        .def_static("parse", &DialogAnswer::Parse, py::arg("text"),
                    "\"txtQuant=2; or After; Ok\" as an answer; None without a closing button.");

    py::class_<ScriptedPresenter, DialogPresenter, std::shared_ptr<ScriptedPresenter>>(
        m, "ScriptedPresenter", "Answers each presented dialog with the next queued answer.")
        .def(py::init<>())
        .def("queue", &ScriptedPresenter::Queue, py::arg("answer"))
        .def_property_readonly("pending", &ScriptedPresenter::Pending)
        .def_property_readonly("presented", &ScriptedPresenter::Presented)
        .def_property_readonly("problems", &ScriptedPresenter::Problems);
}

}  // namespace

void BindDialogs(py::module_& m) {
    BindControls(m);
    BindDialog(m);
    BindPresenters(m);
}

}  // namespace corvendi::python
