<%
Const SITE_NAME = "ÖÐÎÄÕ¾µã"
%>
