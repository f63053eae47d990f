"""Shared fixtures: the built package is on PYTHONPATH; data and helper programs come from the
environment CTest sets."""
import os
import pathlib

import pytest

import corvendi

SOURCE = pathlib.Path(os.environ["CORVENDI_SOURCE_DIR"])
EXAMPLE = SOURCE / "data" / "examples" / "example.sco"


@pytest.fixture(autouse=True)
def fixed_clock():
    """New identifiers come from the time of day: a fixed clock makes dumps reproducible."""
    corvendi.platform().set_fixed_time((12, 0, 0))
    yield
    corvendi.set_dialog_presenter(None)


@pytest.fixture
def example():
    return corvendi.open(EXAMPLE)
