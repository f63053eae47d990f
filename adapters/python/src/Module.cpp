// The extension `corvendi._corvendi`; the package's __init__.py builds the Python side on it.
#include <corvendi/Version.h>

#include "Bindings.h"

PYBIND11_MODULE(_corvendi, m) {
    using namespace corvendi::python;
    m.doc() = "The Corvendi engine's host API (use the package `corvendi`).";
    m.attr("__version__") = corvendi::VersionString();
    BindEnums(m);
    BindModel(m);
    BindCollections(m);
    BindEvents(m);
    BindDialogs(m);
    BindScore(m);
    BindSession(m);
}
