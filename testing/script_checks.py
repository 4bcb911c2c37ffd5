"""What the Python end-to-end scripts share: a check that prints each
expectation met as "ok   <what>" and stops the scenario with Failure at the
first one that is not."""


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)
    print("ok   " + what)
