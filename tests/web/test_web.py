#!/usr/bin/python3
"""The web page as pupils get it: the zip unpacked, opened in headless
Chromium from the folder (file://) and from a loopback web server, at
desktop and at phone width.

    test_web.py PAGE.zip EXPECTED_TABLE.h [SCREENSHOT-DIR]

The expected classes are the desktop suites' own table (expected_table.h).
"""
import functools
import http.server
import os
import re
import shutil
import sys
import tempfile
import threading
import time
import zipfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

# Each control's box in the form (x, y, width, height in CSS pixels at 96 dots
# per inch) and background, as the window has them.
HEADING, CHECK, OPTION = "rgb(255, 192, 128)", "rgb(128, 255, 128)", "rgb(0, 255, 0)"
GEOMETRY = [
    ("MainForm", (0, 0, 461, 351), "rgb(192, 192, 255)"),
    ("Label1_0", (64, 0, 305, 25), HEADING),
    ("Check1_0", (16, 32, 257, 25), CHECK),
    ("Check1_1", (16, 56, 257, 25), CHECK),
    ("Check1_2", (16, 80, 257, 25), CHECK),
    ("Option1_0", (16, 120, 281, 19), OPTION),
    ("Option1_1", (16, 144, 281, 19), OPTION),
    ("Option1_2", (16, 168, 281, 19), OPTION),
    ("Option1_3", (16, 192, 281, 19), OPTION),
    ("List1_0", (320, 48, 121, 137), "rgb(255, 255, 255)"),
    ("Text1_0", (8, 224, 449, 121), "rgb(255, 255, 255)"),
]

STATE = """
const box = (id) => document.querySelector('#' + id + ' input').checked ? '1' : '0';
const option = [0, 1, 2, 3].filter((j) => box('Option1_' + j) === '1');
return [box('Check1_0') + box('Check1_1') + box('Check1_2'),
        option.length === 1 ? option[0] : (option.length ? 'many' : -1)];
"""

failures = 0


def check(condition, what):
    global failures
    print(("ok: " if condition else "FAIL: ") + what, flush=True)
    if not condition:
        failures += 1
    return condition


def expected_table(header):
    rows = re.findall(r'\{"(\w+)", "(\d)", "(\d)", "([01]{3})", (\d)\}',
                      open(header, encoding="utf-8").read())
    assert len(rows) == 20, f"{header}: {len(rows)} rows, expected 20"
    return [(name, checks, int(option)) for name, _, _, checks, option in rows]


def browser(profile, phone=False):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage",
                 "--force-device-scale-factor=1", f"--user-data-dir={profile}"):
        options.add_argument(flag)
    if phone:
        options.add_experimental_option("mobileEmulation", {
            "deviceMetrics": {"width": 360, "height": 740, "pixelRatio": 3.0, "touch": True, "mobile": True}})
    else:
        options.add_argument("--window-size=1024,768")
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def wait_for(driver, script, timeout=10.0):
    """Polls a script until it returns something true; returns that or None."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = driver.execute_script(script)
        if value:
            return value
        time.sleep(0.02)
    return None


def console_errors(driver):
    return [entry["message"] for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]


def working_page(driver):
    """Waits for the page's code to answer (a hand-checked box is cleared
    again while nothing is selected), so that nothing was selected at start."""
    driver.execute_script("document.querySelector('#Check1_0 input').click()")
    return wait_for(driver, "return !document.querySelector('#Check1_0 input').checked")


def from_folder(driver, url, table, shots):
    driver.get(url)
    check(driver.title == "aminokiselini.example Химия - незаменими аминокиселини",
          f"the page's title is the window's: {driver.title!r}")
    check(driver.find_element(By.TAG_NAME, "html").get_attribute("lang") == "bg", "lang is bg")
    if not check(working_page(driver), "the page's code runs from file:// and undoes a hand change"):
        return
    check(driver.execute_script(STATE) == ["000", -1] and
          not driver.find_elements(By.CSS_SELECTOR, '#List1_0 [aria-selected="true"]'),
          "nothing is selected and every indicator is clear at start")

    for id, (x, y, width, height), colour in GEOMETRY:
        box = driver.execute_script(
            "const form = document.getElementById('MainForm').getBoundingClientRect();"
            "const it = document.getElementById(arguments[0]);"
            "const r = it.getBoundingClientRect();"
            "return [r.left - form.left, r.top - form.top, r.width, r.height,"
            "        getComputedStyle(it).backgroundColor];", id)
        check(box == [x, y, width, height, colour], f"{id} at {x},{y} {width}x{height} in {colour}: {box}")
    check(driver.execute_script(
        "return ['List1_1', 'List1_2'].every((id) => {"
        "  const list = document.getElementById(id);"
        "  return list.children.length === 20 && list.getClientRects().length === 0; })"),
        "the two code lists hold twenty codes each and are never shown")

    names = driver.find_element(By.ID, "List1_0")
    for row, (name, checks, option) in enumerate(table):
        item = driver.find_element(By.ID, f"List1_0_{row}")
        item.click()
        check(item.text == name and driver.execute_script(STATE) == [checks, option],
              f"click on {name}: {checks} / option {option}")

    names.send_keys(Keys.HOME)
    for row, (name, checks, option) in enumerate(table):
        if row:
            names.send_keys(Keys.ARROW_DOWN)
        selected = driver.find_element(By.CSS_SELECTOR, '#List1_0 [aria-selected="true"]').text
        check(selected == name and driver.execute_script(STATE) == [checks, option],
              f"arrow key to {name}: {checks} / option {option}")
    # ChromeDriver types no Cyrillic keys; the letter is the page's own event.
    names.send_keys(Keys.HOME)
    driver.execute_script("document.getElementById('List1_0').dispatchEvent("
                          "    new KeyboardEvent('keydown', {key: 'а', bubbles: true}))")
    check(driver.find_element(By.CSS_SELECTOR, '#List1_0 [aria-selected="true"]').text == "Аланин",
          "typing а in the list goes to Аланин")

    # Shown at once: read in the same turn as the press, before any tick.
    at_once = driver.execute_script(
        "document.getElementById('List1_0_12').dispatchEvent("
        "    new MouseEvent('mousedown', {bubbles: true, button: 0}));" + STATE)
    check(at_once == ["011", 3], f"Аргинин shows its classes in the same turn as the press: {at_once}")

    # Both changed by hand in one turn, so that no tick comes between.
    changed = driver.execute_script(
        "document.querySelector('#Check1_0 input').click();"
        "document.querySelector('#Option1_0 input').click();" + STATE)
    check(changed == ["111", 0], f"the hand changes took: {changed}")
    check(wait_for(driver, "return JSON.stringify((() => {" + STATE + "})()) === '[\"011\",3]'", 1.0),
          "both hand changes are undone within a second")

    if shots:
        driver.save_screenshot(os.path.join(shots, "web-desktop.png"))
    errors = console_errors(driver)
    check(not errors, f"no console error: {errors}")


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        self.server.requested.append(self.path)
        super().do_GET()


def over_http(driver, folder, table):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    server.requested = []
    threading.Thread(target=server.serve_forever, daemon=True).start()
    origin = f"http://127.0.0.1:{server.server_address[1]}"
    try:
        driver.get(origin + "/index.html")
        check(working_page(driver), "the page works over HTTP")
        controlled = wait_for(driver, "return !!navigator.serviceWorker.controller || "
                                      "(navigator.serviceWorker.ready.then(() => location.reload()), false)", 15)
        check(controlled, "its service worker keeps the page")
        wait_for(driver, "return document.readyState === 'complete'")
        resources = driver.execute_script(
            "return performance.getEntriesByType('resource').map((e) => e.name)")
        foreign = [url for url in resources if not url.startswith(origin + "/")]
        check(not foreign, f"nothing is loaded from any other address: {foreign}")
        missing = [path for path in server.requested
                   if not os.path.isfile(os.path.join(folder, path.split("?")[0].lstrip("/") or "index.html"))]
        check(not missing, f"only the page's own files were asked for: {sorted(set(server.requested))}")
        check(driver.execute_script("return document.cookie === '' && localStorage.length === 0 "
                                    "&& sessionStorage.length === 0"), "no cookies, nothing in storage")
    finally:
        server.shutdown()
        server.server_close()
    driver.get(origin + "/index.html")
    if check(working_page(driver), "with the server gone, a reload still opens a working page"):
        driver.find_element(By.ID, "List1_0_10").click()
        name, checks, option = table[10]
        check(driver.execute_script(STATE) == [checks, option], f"offline, {name} shows its classes")


def at_phone_width(driver, url, shots):
    driver.get(url)
    check(working_page(driver), "the page works on a phone")
    sizes = driver.execute_script(
        "const r = document.getElementById('MainForm').getBoundingClientRect();"
        "return [innerWidth, document.documentElement.scrollWidth, r.left, r.right, r.height];")
    inner, scroll, left, right, height = sizes
    check(inner == 360 and scroll <= inner and left >= 0 and right <= inner and height < 351,
          f"at 360 px the whole form is visible across, scaled down, no horizontal scrolling: {sizes}")
    driver.find_element(By.ID, "List1_0_0").click()
    check(driver.execute_script(STATE) == ["010", 3], "a tap on Лизин shows its classes")
    if shots:
        driver.save_screenshot(os.path.join(shots, "web-phone.png"))


def main():
    zip_path, header = sys.argv[1], sys.argv[2]
    shots = sys.argv[3] if len(sys.argv) > 3 else None
    table = expected_table(header)
    work = tempfile.mkdtemp(prefix="aminokiselini-web-")
    try:
        with zipfile.ZipFile(zip_path) as archive:
            archive.extractall(work)
        folder = os.path.join(work, os.path.basename(zip_path)[:-len(".zip")])
        url = "file://" + os.path.join(folder, "index.html")
        for run, args in ((from_folder, (url, table, shots)), (over_http, (folder, table)),
                          (at_phone_width, (url, shots))):
            profile = tempfile.mkdtemp(dir=work)
            driver = browser(profile, phone=run is at_phone_width)
            try:
                run(driver, *args)
            finally:
                driver.quit()
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(f"{failures} failed" if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
