"""The exception every failed library call raises."""


class ScpError(Exception):
    """A library call failed: ``code`` is its Win32 error code, ``message`` its text."""

    def __init__(self, code: int, message: str) -> None:
        super().__init__(code, message)
        self.code = code
        self.message = message

    def __str__(self) -> str:
        return f"[{self.code}] {self.message}"


class ScpWarning(UserWarning):
    """A record read only in part: a section it lists could not be read."""
