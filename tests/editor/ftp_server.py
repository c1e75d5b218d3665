# The FTP server of the editor's tests: pyftpdlib on 127.0.0.1 with one user
# and a root folder. A wrong password is answered at once (pyftpdlib waits
# three seconds by default), and every command is logged, so tests can count
# them.
#
# usage: /usr/bin/python3 ftp_server.py PORT ROOT USER PASSWORD LOGFILE
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

port, root, user, password, log = sys.argv[1:6]
logging.basicConfig(filename=log, level=logging.DEBUG)
authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm="elradfmwMT")


class Handler(FTPHandler):
    pass


Handler.authorizer = authorizer
Handler.auth_failed_timeout = 0
FTPServer(("127.0.0.1", int(port)), Handler).serve_forever()
