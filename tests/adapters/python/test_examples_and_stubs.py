"""The example scripts and the README's example run, and the type stubs name what the module
has."""
import ast
import inspect
import pathlib
import subprocess
import sys

import corvendi

from conftest import EXAMPLE, SOURCE

EXAMPLES = SOURCE / "examples" / "python"


def run_example(name, *args, cwd):
    subprocess.run([sys.executable, str(EXAMPLES / name), *map(str, args)], cwd=cwd, check=True,
                   capture_output=True, text=True)


def test_the_scale_example_writes_a_pdf(tmp_path):
    run_example("scale_to_pdf.py", tmp_path / "scale.pdf", cwd=tmp_path)
    assert (tmp_path / "scale.pdf").read_bytes().startswith(b"%PDF")


def test_the_transpose_example_moves_every_note_up_a_tone(tmp_path):
    run_example("transpose.py", EXAMPLE, tmp_path / "up.sco", cwd=tmp_path)
    before, after = corvendi.open(EXAMPLE), corvendi.open(tmp_path / "up.sco")
    pitches = [v for n in before.notes() for v in n.values]
    assert [v for n in after.notes() for v in n.values] == [min(v + 2, 127) for v in pitches]


def test_the_listing_example_tells_each_score_of_a_folder(tmp_path):
    (tmp_path / "a.sco").write_bytes(EXAMPLE.read_bytes())
    (tmp_path / "broken.sco").write_bytes(b"nothing")
    out = subprocess.run([sys.executable, str(EXAMPLES / "list_scores.py"), str(tmp_path)],
                         check=True, capture_output=True, text=True).stdout
    score = corvendi.open(EXAMPLE)
    assert f"a.sco: {score.title}" in out
    assert "broken.sco: unreadable" in out


def test_the_readme_example_runs(tmp_path):
    readme = (SOURCE / "README.md").read_text()
    script = readme.split("```python\n", 1)[1].split("```", 1)[0]
    subprocess.run([sys.executable, "-c", script], cwd=tmp_path, check=True, capture_output=True)
    assert [n.values for n in corvendi.open(tmp_path / "evening.sco").notes()][-1] == (71,)


def stub_names():
    tree = ast.parse((pathlib.Path(corvendi.__file__).parent / "__init__.pyi").read_text())
    names, members, bases = set(), {}, {}
    for node in tree.body:
        if isinstance(node, ast.ClassDef):
            names.add(node.name)
            bases[node.name] = [b.id for b in node.bases if isinstance(b, ast.Name)]
            members[node.name] = {n.name if isinstance(n, ast.FunctionDef) else n.target.id
                                  for n in node.body
                                  if isinstance(n, (ast.FunctionDef, ast.AnnAssign))}
        elif isinstance(node, ast.FunctionDef):
            names.add(node.name)

    def inherited(name):
        return members.get(name, set()).union(*(inherited(b) for b in bases.get(name, [])))
    return names, {name: inherited(name) for name in members}


def test_the_stubs_name_every_public_class_function_and_member():
    names, members = stub_names()
    assert set(corvendi.__all__) <= names
    for name, stubbed in members.items():
        cls = getattr(corvendi, name)
        if not inspect.isclass(cls) or issubclass(cls, (int, Exception)):
            continue
        public = {m for m in dir(cls) if not m.startswith("_")}
        assert public <= stubbed, f"{name}: {sorted(public - stubbed)}"
