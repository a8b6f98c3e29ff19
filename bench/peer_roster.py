#!/usr/bin/python3
"""The roster walk written the short way, with Selenium, as a yardstick.

Logs in on a demosite started with --auto-login, walks into world 3, reads
the member table of one alliance and every member's home castle, and prints
one line: "peer members=N seconds=S per_member_ms=M".

Usage: peer_roster.py TOP_URL WORLD_URL ALLIANCE_ID
"""
import re
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By


def main():
    top, world, alliance = sys.argv[1], sys.argv[2], sys.argv[3]
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--user-data-dir=" + tempfile.mkdtemp()):
        options.add_argument(arg)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        driver.get(top + "/index.php?event=OAuth")
        driver.get(top + "/")
        driver.find_element(By.XPATH, "//a[contains(@href,'game_start')]").click()
        driver.find_element(By.XPATH, "//a[contains(@title,'w003')]").click()

        start = time.monotonic()
        driver.get(world + "/alliance/info.php?id=" + alliance)
        members = []
        for link in driver.find_elements(By.CSS_SELECTOR, "tr.fs12 a[href*='user_id=']"):
            user_id = re.search(r"user_id=(\d+)", link.get_attribute("href")).group(1)
            members.append((link.text.replace(" ", ""), user_id))
        lines = []
        home = re.compile(r"\(本拠地\).*?&amp;c=[^>]*>([^<]*)<", re.S)
        for name, user_id in members:
            driver.get(world + "/user/?user_id=" + user_id)
            found = home.search(driver.page_source)
            if found:
                lines.append('"%s","%s"' % (name, found.group(1).replace(",", '","')))
        seconds = time.monotonic() - start
        count = max(len(members), 1)
        print("peer members=%d lines=%d seconds=%.2f per_member_ms=%.1f"
              % (len(members), len(lines), seconds, 1000 * seconds / count))
    finally:
        driver.quit()


if __name__ == "__main__":
    main()
