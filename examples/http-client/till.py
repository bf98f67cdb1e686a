#!/usr/bin/env python3
"""A till that prints its sales through korvena-service, each exactly once.

    till.py --item "Rožok:4.000:0.12:B" [--item ...] (--cash AMOUNT | --card)
    till.py                      (only finish a sale left pending by an earlier run)

An item is TEXT:QUANTITY:UNIT_PRICE:VAT, the VAT class being a letter A to I.
The till asks the service for the total first and shows it, then makes one
key for the sale, stores the sale with its key in the state file and only
then sends it. Whatever happens to the request (a timeout, a lost or refused
connection, 202, 408, 429, 503, 409 device-blocked), it waits and sends the
same sale with the same key again, so that the receipt prints once. A sale
found pending at the start is finished with its stored key before any new
one: it may already have printed, and only its own key can tell.

The token comes from --token-file (the token alone, or a "till TOKEN" line)
or from the environment variable KORVENA_TOKEN, never from the command line.

Exit status:
  0  every sale of this run printed
  1  a sale was refused: nothing printed for it, the service's reason is shown
  2  usage or setup error (options, token, state file, a device or token the
     service does not know); a pending sale stays stored
  3  gave up (--give-up-after) before the service answered; a sale already
     stored stays pending in the state file and the next run finishes it
"""

import argparse
import decimal
import http.client
import json
import os
import re
import sys
import tempfile
import time
import urllib.parse
import uuid

try:
    import fcntl
except ImportError:  # Windows has none: runs there go without the lock
    fcntl = None

EXIT_PRINTED, EXIT_REFUSED, EXIT_USAGE, EXIT_GAVE_UP = 0, 1, 2, 3

QUANTITY = re.compile(r"^[0-9]+(\.[0-9]{1,3})?$")
MONEY = re.compile(r"^[0-9]+(\.[0-9]{1,2})?$")
VAT_CLASSES = "ABCDEFGHI"

# The largest amount the service takes.
LARGEST_CASH = "10000000"

FIRST_WAIT = 0.5     # seconds before the first retry without Retry-After
LONGEST_WAIT = 10.0  # the back-off's cap
UNKNOWN_WAIT = 30.0  # asking again about a sale a person has to settle
HTTP_TIMEOUT = 40.0  # above the service's 30 s wait, or every wait is cut short


class UsageError(Exception):
    pass


class Unreachable(Exception):
    """No answer: refused or lost connection, or a timeout."""


class Answer:
    def __init__(self, status, headers, raw):
        self.status = status
        self.headers = headers
        try:
            self.body = json.loads(raw.decode("utf-8")) if raw else None
        except (UnicodeDecodeError, ValueError):
            self.body = None
        self.raw = raw.decode("utf-8", "replace")

    def error(self, field):
        error = self.body.get("error") if isinstance(self.body, dict) else None
        return error.get(field) if isinstance(error, dict) else None

    def code(self):
        return self.error("code")

    def what(self):
        return "%d %s" % (self.status, self.code()) if self.code() else str(self.status)

    def message(self):
        message = self.error("message") or self.raw.strip()[:200] or "no reason given"
        status = self.error("deviceStatus")
        if status is not None:
            message += " (device status %s)" % status
        return message

    def retry_after(self):
        try:
            return max(0.0, float(self.headers.get("Retry-After", "")))
        except ValueError:  # an HTTP date or nothing: the back-off decides
            return None


class Service:
    def __init__(self, url, token, timeout):
        parts = urllib.parse.urlsplit(url)
        try:
            self.port = parts.port
        except ValueError:
            self.port = None
            parts = parts._replace(scheme="")
        if parts.scheme not in ("http", "https") or not parts.hostname:
            raise UsageError("--service must be an http:// or https:// URL, not %r" % url)
        self.scheme = parts.scheme
        self.host = parts.hostname
        self.prefix = parts.path.rstrip("/")
        self.token = token
        self.timeout = timeout

    def post(self, path, body, key=None, deadline=None):
        data = json.dumps(body, ensure_ascii=False).encode("utf-8")
        headers = {"Authorization": "Bearer " + self.token,
                   "Content-Type": "application/json",
                   "Accept": "application/json"}
        if key is not None:
            headers["Idempotency-Key"] = key
        connection_class = (http.client.HTTPSConnection if self.scheme == "https"
                            else http.client.HTTPConnection)
        timeout = self.timeout
        if deadline is not None:  # cut short rather than overstay the deadline
            timeout = max(1.0, min(timeout, deadline - time.monotonic()))
        connection = connection_class(self.host, self.port, timeout=timeout)
        try:
            connection.request("POST", self.prefix + path, body=data, headers=headers)
            response = connection.getresponse()
            return Answer(response.status, response.headers, response.read())
        except (OSError, http.client.HTTPException) as failure:
            raise Unreachable(describe(failure)) from None
        finally:
            connection.close()


def describe(failure):
    if isinstance(failure, ConnectionRefusedError):
        return "connection refused"
    if isinstance(failure, TimeoutError):
        return "no answer in time"
    return str(failure) or type(failure).__name__


def say(text):
    print("till: " + text, file=sys.stderr, flush=True)


# --- the sale --------------------------------------------------------------

def parse_item(text):
    parts = text.rsplit(":", 3)
    if len(parts) != 4:
        raise UsageError("--item %r: expected TEXT:QUANTITY:UNIT_PRICE:VAT" % text)
    name, quantity, price, vat = (part.strip() for part in parts)
    vat = vat.upper()
    if not name:
        raise UsageError("--item %r: the text is empty" % text)
    try:
        name.encode("utf-8")
    except UnicodeEncodeError:
        raise UsageError("--item %r: the text is not valid UTF-8" % text) from None
    if not QUANTITY.match(quantity) or decimal.Decimal(quantity) == 0:
        raise UsageError("--item %r: the quantity must be above 0 with at most"
                         " 3 decimals, such as 2.500" % text)
    if not MONEY.match(price):
        raise UsageError("--item %r: the unit price must have at most 2 decimals,"
                         " such as 0.12" % text)
    if len(vat) != 1 or vat not in VAT_CLASSES:
        raise UsageError("--item %r: the VAT class must be one letter A to I" % text)
    return {"type": "item", "text": name, "quantity": quantity,
            "unitPrice": price, "vat": vat}


def quote(service, device, mode, lines, deadline):
    """The total as the device will compute it, or an exit status."""
    # Without payments the quote prices the lines: the total before payment.
    body = {"mode": mode, "lines": lines}
    path = "/v1/devices/%s/receipts/quote" % urllib.parse.quote(device, safe="")
    waiting = Backoff()
    while True:
        try:
            answer = service.post(path, body, deadline=deadline)
        except Unreachable as failure:
            reason, wait = "the service: " + str(failure), waiting.next()
        else:
            if answer.status == 200 and isinstance(answer.body, dict) \
                    and "total" in answer.body:
                return answer.body["total"]
            if answer.status in (401, 403, 404):
                say("the service refuses the till: %s" % answer.message())
                return EXIT_USAGE
            if 400 <= answer.status < 500 and answer.status not in (408, 429):
                say("the sale is refused: %s" % answer.message())
                return EXIT_REFUSED
            reason = "the service answered %s: %s" % (answer.what(), answer.message())
            wait = waiting.next(answer.retry_after())
        if deadline is not None and time.monotonic() + wait > deadline:
            say("gave up asking for the total (%s); nothing was sent or stored"
                % reason)
            return EXIT_GAVE_UP
        say("%s; asking again in %.1f s" % (reason, wait))
        time.sleep(wait)


# --- the pending sale -------------------------------------------------------

class State:
    """The one sale whose outcome this till does not know yet, in a file."""

    def __init__(self, path):
        self.path = path
        self.lock = None

    def take(self):
        # Two runs on one state file could remove each other's pending sale.
        if fcntl is None:
            return
        try:
            self.lock = open(self.path + ".lock", "a")
            fcntl.flock(self.lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            raise UsageError("another till run is using %s" % self.path) from None
        except OSError as failure:
            raise UsageError("cannot use %s: %s" % (self.path, failure)) from None

    def load(self):
        try:
            with open(self.path, encoding="utf-8") as stored:
                sale = json.load(stored)
        except FileNotFoundError:
            return None
        except (OSError, ValueError) as failure:
            raise UsageError("the state file %s cannot be read (%s); it is left as"
                             " it is" % (self.path, failure)) from None
        if not (isinstance(sale, dict) and isinstance(sale.get("key"), str)
                and re.match(r"^[!-~]{1,64}$", sale["key"])
                and isinstance(sale.get("device"), str)
                and isinstance(sale.get("body"), dict)):
            raise UsageError("the state file %s holds no sale the till knows; it"
                             " is left as it is" % self.path)
        return sale

    def store(self, sale):
        # Whole or not at all: a crash mid-write must not leave half a key.
        folder = os.path.dirname(os.path.abspath(self.path))
        handle, temporary = tempfile.mkstemp(prefix=".till-", dir=folder)
        try:
            with os.fdopen(handle, "w", encoding="utf-8") as out:
                json.dump(sale, out, ensure_ascii=False, indent=1)
                out.write("\n")
                out.flush()
                os.fsync(out.fileno())
            os.replace(temporary, self.path)
        except BaseException:
            try:
                os.unlink(temporary)
            except OSError:
                pass
            raise
        sync_folder(folder)

    def clear(self):
        try:
            os.unlink(self.path)
        except FileNotFoundError:
            pass
        except OSError as failure:
            # Harmless: the next run sends it again and gets the same answer.
            say("could not remove the finished sale from %s: %s" % (self.path, failure))
            return
        sync_folder(os.path.dirname(os.path.abspath(self.path)))


def sync_folder(folder):
    try:
        descriptor = os.open(folder, os.O_RDONLY)
    except OSError:
        return
    try:
        os.fsync(descriptor)
    except OSError:
        pass
    finally:
        os.close(descriptor)


class Backoff:
    def __init__(self):
        self.wait = FIRST_WAIT

    def next(self, retry_after=None):
        wait = max(self.wait, retry_after or 0.0)
        self.wait = min(LONGEST_WAIT, self.wait * 2)
        return wait

    def reset(self):
        self.wait = FIRST_WAIT


def finish(service, state, sale, deadline):
    """Sends the stored sale with its key until its outcome is known."""
    key = sale["key"]
    path = "/v1/devices/%s/receipts" % urllib.parse.quote(sale["device"], safe="")
    waiting = Backoff()
    told_unknown = False
    while True:
        try:
            answer = service.post(path, sale["body"], key=key, deadline=deadline)
        except Unreachable as failure:
            reason, wait = "no answer from the service (%s)" % failure, waiting.next()
        else:
            status, code = answer.status, answer.code()
            if status == 200:
                state.clear()
                show_printed(key, answer.body)
                return EXIT_PRINTED
            if status == 202:
                # The service holds the job; asking again waits for it again.
                waiting.reset()
                reason = "the receipt waits for the device"
                wait = answer.retry_after() or 1.0
            elif status == 409 and code == "unknown":
                if not told_unknown:
                    say("sale %s: whether it printed is unknown. A person must look at"
                        " the paper and settle it with a service token (POST"
                        " /v1/jobs/%s/resolution). Until then this till keeps asking"
                        " with the same key; do not make the sale again." % (key, key))
                    told_unknown = True
                reason = "the outcome is unknown"
                wait = max(UNKNOWN_WAIT, answer.retry_after() or 0.0)
            elif status in (401, 403, 404):
                say("the service refuses the till: %s. Sale %s stays pending in %s:"
                    " it may have printed already, so fix the setup and run again"
                    % (answer.message(), key, state.path))
                return EXIT_USAGE
            elif (400 <= status < 500 and status not in (408, 429)
                  and not (status == 409 and code == "device-blocked")):
                state.clear()
                show_refused(key, answer)
                return EXIT_REFUSED
            else:
                # 408, 429, 503, 409 device-blocked, and anything the service
                # was not expected to say: the same key cannot print twice.
                reason = "the service answered %s: %s" % (answer.what(), answer.message())
                wait = waiting.next(answer.retry_after())
        if deadline is not None and time.monotonic() + wait > deadline:
            say("gave up (%s). Sale %s stays pending in %s; run the till again to"
                " finish it" % (reason, key, state.path))
            return EXIT_GAVE_UP
        say("%s; sending sale %s again in %.1f s" % (reason, key, wait))
        time.sleep(wait)


def show_printed(key, result):
    result = result if isinstance(result, dict) else {}
    if "printout" in result:
        print(result["printout"].replace("\r\n", "\n"), end="")
        print("Printed: document %s, total %s, change %s."
              % (result.get("documentNumber"), result.get("total"),
                 result.get("change")))
    else:
        # Settled by a person as printed: the paper is the only printout.
        print("Printed: sale %s, as a person settled it; the paper is the only"
              " printout." % key)


def show_refused(key, answer):
    say("sale %s is refused (%s): %s" % (key, answer.what(), answer.message()))
    voided = answer.body.get("printed") if isinstance(answer.body, dict) else None
    if isinstance(voided, dict) and voided.get("voided"):
        say("the device voided the receipt it had begun (document %s): the paper"
            " shows it cancelled; make the sale again if it is still wanted"
            % voided.get("documentNumber"))
        print(voided.get("printout", "").replace("\r\n", "\n"), end="")
    elif answer.code() == "key-reused":
        say("the key stands for another request: GET /v1/jobs/%s shows which and"
            " whether it printed" % key)
    else:
        say("nothing was printed for this sale; make it again if it is still wanted")


# --- the program ------------------------------------------------------------

def read_token(path):
    token = read_token_text(path)
    if not re.match(r"^[!-~]+$", token):
        raise UsageError("the token must be printable ASCII without blanks")
    return token


def read_token_text(path):
    if path is None:
        token = os.environ.get("KORVENA_TOKEN", "").strip()
        if not token:
            raise UsageError("no token: give --token-file FILE or set KORVENA_TOKEN")
        return token
    try:
        with open(path, encoding="utf-8") as stored:
            lines = [line.split("#", 1)[0].split() for line in stored]
    except (OSError, UnicodeDecodeError) as failure:
        raise UsageError("cannot read the token file: %s" % failure) from None
    lines = [words for words in lines if words]
    for words in lines:
        if len(words) == 2 and words[0] == "till":
            return words[1]
    if len(lines) == 1 and len(lines[0]) in (1, 2):
        return lines[0][-1]
    raise UsageError("the token file %s holds no token (the token alone, or a"
                     " line \"till TOKEN\")" % path)


def options(arguments):
    parser = argparse.ArgumentParser(
        prog="till.py", description=__doc__.split("\n\n", 1)[0],
        epilog=__doc__.split("\n\n", 1)[1],
        formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--item", action="append", default=[], metavar="TEXT:QTY:PRICE:VAT",
                        help="a line of the receipt (repeatable)")
    paying = parser.add_mutually_exclusive_group()
    paying.add_argument("--cash", metavar="AMOUNT", help="paid in cash, such as 10.00")
    paying.add_argument("--card", action="store_true", help="paid by card, the total")
    parser.add_argument("--mode", default="A", choices=list("ABCDE"),
                        help="the receipt's mode (default A)")
    parser.add_argument("--service", default="http://127.0.0.1:8730", metavar="URL",
                        help="the service (default http://127.0.0.1:8730)")
    parser.add_argument("--device", default="COM1", help="the device (default COM1)")
    parser.add_argument("--token-file", metavar="FILE",
                        help="the till's token (default: $KORVENA_TOKEN)")
    parser.add_argument("--state", default="korvena-till.json", metavar="FILE",
                        help="where the pending sale is kept (default korvena-till.json)")
    parser.add_argument("--give-up-after", type=float, metavar="SECONDS",
                        help="stop waiting for the service after SECONDS (exit 3)")
    parser.add_argument("--timeout", type=float, default=HTTP_TIMEOUT, metavar="SECONDS",
                        help="how long one request may take (default %g)" % HTTP_TIMEOUT)
    chosen = parser.parse_args(arguments)
    if chosen.item and chosen.cash is None and not chosen.card:
        parser.error("say how the sale is paid: --cash AMOUNT or --card")
    if not chosen.item and (chosen.cash is not None or chosen.card):
        parser.error("a payment needs at least one --item")
    if chosen.cash is not None and not (
            MONEY.match(chosen.cash)
            and decimal.Decimal(chosen.cash) <= decimal.Decimal(LARGEST_CASH)):
        parser.error("--cash must be an amount up to %s with at most 2 decimals,"
                     " such as 10.00" % LARGEST_CASH)
    for name in ("give_up_after", "timeout"):
        value = getattr(chosen, name)
        if value is not None and not value > 0:
            parser.error("--%s must be above 0" % name.replace("_", "-"))
    return chosen


def run(chosen):
    lines = [parse_item(item) for item in chosen.item]
    deadline = (time.monotonic() + chosen.give_up_after
                if chosen.give_up_after is not None else None)
    service = Service(chosen.service, read_token(chosen.token_file), chosen.timeout)
    state = State(chosen.state)
    state.take()
    worst = EXIT_PRINTED

    pending = state.load()
    if pending is not None:
        say("finishing sale %s left pending by an earlier run" % pending["key"])
        worst = finish(service, state, pending, deadline)
        if worst in (EXIT_USAGE, EXIT_GAVE_UP):
            return worst
    elif not lines:
        raise UsageError("no sale pending in %s and no --item given" % state.path)
    if not lines:
        return worst

    total = quote(service, chosen.device, chosen.mode, lines, deadline)
    if not isinstance(total, str):
        return max(worst, total)
    if chosen.card:
        payment = {"type": "card", "amount": total}
        print("Total %s, by card." % total, flush=True)
    else:
        cash = decimal.Decimal(chosen.cash).quantize(decimal.Decimal("0.01"))
        change = cash - decimal.Decimal(total)
        if change < 0:
            say("the sale is refused: cash %s does not cover the total %s"
                % (cash, total))
            return EXIT_REFUSED
        payment = {"type": "cash", "amount": str(cash)}
        print("Total %s, cash %s, change %s." % (total, cash, change), flush=True)

    # The key is made once for the sale and stored with it before the first
    # request: if the answer is lost, only this key can tell whether it printed.
    sale = {"key": str(uuid.uuid4()), "device": chosen.device,
            "body": {"mode": chosen.mode, "lines": lines, "payments": [payment]},
            "stored": time.strftime("%Y-%m-%dT%H:%M:%S%z")}
    try:
        state.store(sale)
    except OSError as failure:
        raise UsageError("cannot store the sale in %s (%s); nothing was sent"
                         % (state.path, failure)) from None
    return max(worst, finish(service, state, sale, deadline))


def main(arguments):
    for stream in (sys.stdout, sys.stderr):
        stream.reconfigure(encoding="utf-8", errors="replace")
    chosen = options(arguments)
    try:
        return run(chosen)
    except UsageError as problem:
        say(str(problem))
        return EXIT_USAGE
    except KeyboardInterrupt:
        say("interrupted; a sale already stored stays pending in %s" % chosen.state)
        return EXIT_GAVE_UP


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
