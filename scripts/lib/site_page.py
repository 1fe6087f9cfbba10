"""The download site's index.html, from the site's own files (run by
scripts/lib/site-page, which says how).

    site_page.py SITE-DIR FINGERPRINT
"""
import functools
import html
import os
import subprocess
import sys

KEY = 'aminokiselini-archive-keyring.pgp'


def newest_first(versions):
    def compare(a, b):
        if a == b:
            return 0
        newer = subprocess.run(['dpkg', '--compare-versions', a, 'gt', b]).returncode == 0
        return -1 if newer else 1
    return sorted(versions, key=functools.cmp_to_key(compare))


def sums(folder):
    """File name to SHA-256, as SHA256SUMS lists them."""
    listed = {}
    with open(os.path.join(folder, 'SHA256SUMS'), encoding='utf-8') as lines:
        for line in lines:
            digest, name = line.split(maxsplit=1)
            listed[name.strip().lstrip('*')] = digest
    return listed


def size(count, lang):
    if count < 1000:
        text = f'{count} B' if lang == 'en' else f'{count} Б'
    else:
        for unit, scale in (('kB', 1e3), ('MB', 1e6)):
            if count < scale * 1000 or unit == 'MB':
                number = f'{count / scale:.1f}'.rstrip('0').rstrip('.')
                break
        if lang == 'bg':
            number = number.replace('.', ',')
            unit = {'kB': 'КБ', 'MB': 'МБ'}[unit]
        text = f'{number}\u00a0{unit}'
    return text


E = html.escape

# Per language: each platform's heading and its files, with what each is for.
TEXT = {
    'bg': {
        'version': 'Версия {v}',
        'intro': 'Учебна програма по химия за двадесетте протеиногенни аминокиселини: '
                 'ученикът избира аминокиселина и веднага вижда дали е заменима, незаменима '
                 'или условнозаменима и какъв е нейният остатък. Изберете файла за вашия '
                 'компютър. Всички файлове са безплатни и не събират никакви данни.',
        'columns': ('Файл', 'Размер', 'SHA-256'),
        'caption': '{p}: файловете на версия {v}',
        'platforms': [
            ('Windows', 'Windows 7 SP1, 8.1, 10 и 11, 32- и 64-битови.', [
                ('-{v}-windows-x86.zip', 'Преносима папка: разархивирайте и пуснете програмата.'),
                ('-{v}-setup.exe', 'Инсталатор.'),
                ('-{v}-windows-x86.msi', 'За инсталиране в много компютри (Group Policy, Intune).'),
            ]),
            ('Debian (компютри)', 'Debian 12 „bookworm“ и 13 „trixie“, 64-битови компютри (amd64). '
             'Най-лесно е през хранилището на apt (по-долу): така идват и новите версии.', [
                ('_{v}_amd64.deb', 'sudo apt install ./{f}'),
            ]),
            ('Raspberry Pi', 'Командата dpkg --print-architecture показва arm64 или armhf, а '
             'grep VERSION_CODENAME /etc/os-release показва bookworm или trixie. '
             'Pi 1, Zero и Zero W не могат да пуснат програмата: там отворете урока в браузър.', [
                ('_{v}_arm64.deb', '64-битов Raspberry Pi OS 12 или 13: Pi 3, 4, 400, 5, 500, Zero 2 W.'),
                ('_{v}+deb12_armhf.deb', '32-битов Raspberry Pi OS 12 „bookworm“: Pi 2 и по-новите.'),
                ('_{v}+deb13_armhf.deb', '32-битов Raspberry Pi OS 13 „trixie“: Pi 2 и по-новите.'),
            ]),
            ('В браузър', None, [
                ('-{v}-web.zip', 'Уеб страницата за USB памет или за сайта на училището: '
                 'разархивирайте и отворете index.html.'),
            ]),
            ('Moodle', 'Пакет SCORM 1.2: в курса добавете дейност „SCORM пакет“ и '
             'качете zip файла, без да го разархивирате.', [
                ('-{v}-scorm.zip', 'За Moodle и други платформи със SCORM 1.2.'),
            ]),
            ('Изходен код', 'Пакетът с изходния код на Debian, от който всеки файл може '
             'да се построи отново (двата файла заедно).', [
                ('_{v}.dsc', 'Описание на пакета.'),
                ('_{v}.tar.xz', 'Изходният код.'),
            ]),
        ],
        'lesson': 'Урокът е и тук, направо в браузъра: {link}.',
        'lesson_link': 'отворете урока',
        'check': 'Проверка на изтеглен файл',
        'check_text': 'Изтеглете {sums} и {asc} в папката с файловете. В Linux:',
        'check_sum': 'За всеки ваш файл трябва да пише OK. Подписът показва, че списъкът '
                     'е от нас; проверете го с ключа {key}:',
        'check_sqv': 'или със sqv, който показва отпечатъка на ключа:',
        'fingerprint': 'Отпечатъкът на ключа е',
        'check_windows': 'В Windows сравнете контролната сума с тази в таблицата: в командния '
                         'ред с {certutil}, или в PowerShell с {filehash}.',
        'apt': 'Хранилище на apt (Debian и Raspberry Pi OS 12 и 13)',
        'apt_text': 'Изтеглете {keyring} и го инсталирайте. Пакетът добавя хранилището, '
                    'неговия ключ и правило, по което хранилището дава само тази програма:',
        'apt_after': 'След това новите версии идват с {upgrade}. '
                     'С {remove} хранилището се премахва.',
        'older': 'По-стари версии',
        'older_none': 'Няма по-стари версии.',
        'file': 'файл',
    },
    'en': {
        'version': 'Version {v}',
        'intro': 'A chemistry lesson on the twenty proteinogenic amino acids, in Bulgarian: '
                 'a pupil picks an amino acid and at once sees whether it is essential, '
                 'non-essential or conditionally essential, and the class of its side chain. '
                 'Choose the file for your computer. Every file is free and collects no data.',
        'columns': ('File', 'Size', 'SHA-256'),
        'caption': '{p}: the files of version {v}',
        'platforms': [
            ('Windows', 'Windows 7 SP1, 8.1, 10 and 11, 32- and 64-bit.', [
                ('-{v}-windows-x86.zip', 'Portable folder: unpack it and run the program.'),
                ('-{v}-setup.exe', 'Installer.'),
                ('-{v}-windows-x86.msi', 'For installing on many computers (Group Policy, Intune).'),
            ]),
            ('Debian PCs', 'Debian 12 "bookworm" and 13 "trixie", 64-bit PCs (amd64). '
             'Easiest through the apt repository (below), which brings new versions too.', [
                ('_{v}_amd64.deb', 'sudo apt install ./{f}'),
            ]),
            ('Raspberry Pi', 'dpkg --print-architecture prints arm64 or armhf, and '
             'grep VERSION_CODENAME /etc/os-release prints bookworm or trixie. '
             'The Pi 1, Zero and Zero W cannot run it: open the lesson in a browser there.', [
                ('_{v}_arm64.deb', '64-bit Raspberry Pi OS 12 or 13: Pi 3, 4, 400, 5, 500, Zero 2 W.'),
                ('_{v}+deb12_armhf.deb', '32-bit Raspberry Pi OS 12 "bookworm": Pi 2 and later.'),
                ('_{v}+deb13_armhf.deb', '32-bit Raspberry Pi OS 13 "trixie": Pi 2 and later.'),
            ]),
            ('In a browser', None, [
                ('-{v}-web.zip', 'The web page for a USB stick or the school\'s website: '
                 'unpack it and open index.html.'),
            ]),
            ('Moodle', 'A SCORM 1.2 package: in the course, add a "SCORM package" activity '
             'and upload the zip as it is, without unpacking it.', [
                ('-{v}-scorm.zip', 'For Moodle and other platforms that take SCORM 1.2.'),
            ]),
            ('Source', 'The Debian source package, from which every file can be built '
             'again (keep the two files together).', [
                ('_{v}.dsc', 'The package\'s description.'),
                ('_{v}.tar.xz', 'The source code.'),
            ]),
        ],
        'lesson': 'The lesson is here too, right in the browser: {link}.',
        'lesson_link': 'open the lesson',
        'check': 'Checking a download',
        'check_text': 'Download {sums} and {asc} into the folder with the files. On Linux:',
        'check_sum': 'Each file you have must say OK. The signature shows the list is '
                     'ours; check it with the key {key}:',
        'check_sqv': 'or with sqv, which prints the key\'s fingerprint:',
        'fingerprint': 'The key\'s fingerprint is',
        'check_windows': 'On Windows, compare the checksum with the one in the table: at the '
                         'command prompt with {certutil}, or in PowerShell with {filehash}.',
        'apt': 'apt repository (Debian and Raspberry Pi OS 12 and 13)',
        'apt_text': 'Download {keyring} and install it. The package adds the repository, '
                    'its key and a rule that lets the repository give this program only:',
        'apt_after': 'After that, new versions come with {upgrade}. '
                     '{remove} removes the repository again.',
        'older': 'Older versions',
        'older_none': 'There are no older versions.',
        'file': 'file',
    },
}

STYLE = '''
:root { color-scheme: light dark; --bg: #fff; --fg: #1b1b1b; --link: #0a4fb5; --line: #8a8a8a; --code: #eef1f4; }
@media (prefers-color-scheme: dark) {
  :root { --bg: #15171a; --fg: #ececec; --link: #9cc3ff; --line: #6b6b6b; --code: #23272d; }
}
* { box-sizing: border-box; }
body { margin: 0 auto; padding: 1rem; max-width: 72rem; background: var(--bg); color: var(--fg);
  font: 1rem/1.5 system-ui, "DejaVu Sans", "Segoe UI", sans-serif; }
@media (min-width: 1600px) { body { font-size: 1.3rem; } }
a { color: var(--link); overflow-wrap: anywhere; }
h1 { font-size: 1.8em; margin: .5em 0; }
h2 { font-size: 1.4em; margin: 1.5em 0 .5em; border-bottom: 2px solid var(--line); }
h3 { font-size: 1.15em; margin: 1.2em 0 .3em; }
section + section { margin-top: 3em; }
/* Fixed columns, so that a long file name or checksum wraps in its own
   column and never widens the page on a phone. */
table { border-collapse: collapse; width: 100%; margin: .5em 0; table-layout: fixed; }
caption { text-align: left; font-weight: bold; padding: .2em 0; }
th, td { border: 1px solid var(--line); padding: .3em .5em; text-align: left; vertical-align: top;
  overflow-wrap: break-word; }
th:first-child { width: 45%; }
th:nth-child(2) { width: 6.5em; }
.sum, code, pre { font-family: "DejaVu Sans Mono", Consolas, monospace; }
.sum { font-size: .85em; word-break: break-all; }
pre, code { background: var(--code); }
pre { padding: .5em; white-space: pre-wrap; overflow-wrap: anywhere; }
code { padding: 0 .2em; overflow-wrap: anywhere; }
@media (forced-colors: active) {
  th, td, h2 { border-color: CanvasText; }
  pre, code { background: Canvas; color: CanvasText; border: 1px solid CanvasText; }
  a { color: LinkText; }
}
'''


def platform_tables(lang, version, folder, listed, out):
    t = TEXT[lang]
    base = f'downloads/{version}/'
    for title, note, files in t['platforms']:
        out.append(f'<h3>{E(title)}</h3>')
        if note:
            out.append(f'<p>{E(note)}</p>')
        if files[0][0].endswith('-web.zip'):
            link = f'<a href="lesson/">{E(t["lesson_link"])}</a>'
            out.append(f'<p>{t["lesson"].format(link=link)}</p>')
        out.append('<table>')
        out.append(f'<caption>{E(t["caption"].format(p=title, v=version))}</caption>')
        out.append('<thead><tr>' + ''.join(f'<th scope="col">{E(c)}</th>' for c in t['columns'])
                   + '</tr></thead><tbody>')
        for suffix, what in files:
            name = 'aminokiselini' + suffix.format(v=version)
            what = what.format(f=name)
            count = os.path.getsize(os.path.join(folder, name))
            out.append(f'<tr><td><a href="{E(base + name)}">{E(name)}</a><br>{E(what)}</td>'
                       f'<td>{size(count, lang)}</td><td class="sum">{listed[name]}</td></tr>')
        out.append('</tbody></table>')


def section(lang, site, versions, keyring, fingerprint):
    t = TEXT[lang]
    newest = versions[0]
    folder = os.path.join(site, 'downloads', newest)
    listed = sums(folder)
    base = f'downloads/{newest}/'
    out = [f'<section lang="{lang}" aria-labelledby="{lang}-version">',
           f'<h2 id="{lang}-version">{E(t["version"].format(v=newest))}</h2>',
           f'<p>{E(t["intro"])}</p>']
    platform_tables(lang, newest, folder, listed, out)

    link = lambda href, text: f'<a href="{E(href)}">{E(text)}</a>'
    code = lambda text: f'<code>{E(text)}</code>'
    out.append(f'<h3>{E(t["check"])}</h3>')
    out.append('<p>' + t['check_text'].format(sums=link(base + 'SHA256SUMS', 'SHA256SUMS'),
                                              asc=link(base + 'SHA256SUMS.asc', 'SHA256SUMS.asc'))
               + '</p>')
    out.append('<pre>sha256sum -c --ignore-missing SHA256SUMS</pre>')
    out.append('<p>' + t['check_sum'].format(key=link(KEY, KEY)) + '</p>')
    out.append(f'<pre>gpgv --keyring ./{KEY} SHA256SUMS.asc SHA256SUMS</pre>')
    out.append(f'<p>{E(t["check_sqv"])}</p>')
    out.append(f'<pre>sqv --keyring {KEY} SHA256SUMS.asc SHA256SUMS</pre>')
    out.append(f'<p>{E(t["fingerprint"])} {code(fingerprint)}.</p>')
    out.append('<p>' + t['check_windows'].format(certutil=code('certutil -hashfile FILE SHA256'),
                                                 filehash=code('Get-FileHash FILE'))
               .replace('FILE', t['file']) + '</p>')

    out.append(f'<h3>{E(t["apt"])}</h3>')
    out.append('<p>' + t['apt_text'].format(keyring=link(keyring, keyring)) + '</p>')
    out.append(f'<pre>sudo apt install ./{E(keyring)}\nsudo apt update &amp;&amp; sudo apt install aminokiselini</pre>')
    out.append('<p>' + t['apt_after'].format(upgrade=code('sudo apt update && sudo apt upgrade'),
                                             remove=code('sudo apt remove aminokiselini-archive-keyring'))
               + '</p>')

    out.append(f'<h3>{E(t["older"])}</h3>')
    if len(versions) == 1:
        out.append(f'<p>{E(t["older_none"])}</p>')
    for version in versions[1:]:
        files = sorted(sums(os.path.join(site, 'downloads', version))) + ['SHA256SUMS', 'SHA256SUMS.asc']
        label = E(t['version'].format(v=version))
        out.append(f'<h4>{label}</h4><ul>')
        out.extend(f'<li>{link(f"downloads/{version}/{name}", name)}</li>' for name in files)
        out.append('</ul>')
    out.append('</section>')
    return out


def icon_link(site):
    """The lesson's icon as the page's: browsers ask for /favicon.ico where a
    page names none, and the site has no such file."""
    icon = 'lesson/icons/aminokiselini-192.png'
    if not os.path.isfile(os.path.join(site, icon)):
        return []
    return [f'<link rel="icon" type="image/png" href="{icon}">']


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: ' + __doc__.strip().splitlines()[-1].strip())
    site, fingerprint = sys.argv[1:]
    versions = newest_first(name for name in os.listdir(os.path.join(site, 'downloads'))
                            if os.path.isfile(os.path.join(site, 'downloads', name, 'SHA256SUMS')))
    if not versions:
        sys.exit(f'site_page.py: {site}/downloads holds no version')
    keyrings = sorted(name for name in os.listdir(site)
                      if name.startswith('aminokiselini-archive-keyring_') and name.endswith('_all.deb'))
    if len(keyrings) != 1:
        sys.exit(f'site_page.py: {site} must hold one keyring package, not {len(keyrings)}')
    page = ['<!DOCTYPE html>', '<html lang="bg">', '<head>', '<meta charset="utf-8">',
            '<meta name="viewport" content="width=device-width, initial-scale=1">',
            '<title>Аминокиселини: изтегляне · downloads</title>',
            *icon_link(site),
            '<style>' + STYLE + '</style>', '</head>', '<body>',
            '<header><h1>Аминокиселини <span lang="en">· Aminokiselini</span></h1></header>',
            '<main>']
    page += section('bg', site, versions, keyrings[0], fingerprint)
    page += section('en', site, versions, keyrings[0], fingerprint)
    page += ['</main>', '</body>', '</html>', '']
    with open(os.path.join(site, 'index.html'), 'w', encoding='utf-8', newline='\n') as out:
        out.write('\n'.join(page))


main()
